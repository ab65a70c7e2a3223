// Steps of a scripted input (platform/win32_testing.h) given in a window's
// client coordinates, as a drag over a frame is described. Our own subset only.
#pragma once

#if !defined(_WIN32)

#include "platform/win32_testing.h"

inline win32testing::InputStep stepAt(HWND window, int h, int v, unsigned held, DWORD elapsedMs = 0) {
    POINT origin{0, 0};
    MapWindowPoints(window, nullptr, &origin, 1);
    win32testing::InputStep step;
    step.cursorX = origin.x + h;
    step.cursorY = origin.y + v;
    step.held = held;
    step.elapsedMs = elapsedMs;
    return step;
}

#endif
