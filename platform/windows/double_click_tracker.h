// Turns a native window system's button presses into the messages Windows
// sends: a second left press soon after the first and close to it, in a
// window whose class asks for double-clicks (CS_DBLCLKS), is
// WM_LBUTTONDBLCLK; a press after a double-click starts over. The limits are
// Windows' defaults: 500 ms, and 2 pixels either way.
//
// On the thread that reads the native events (the windows' thread).
#pragma once

#include "platform/win32.h"

namespace win32subset {

class DoubleClickTracker {
public:
    static constexpr unsigned long kDoubleClickMs = 500;
    static constexpr int kDoubleClickReach = 2;

    // The message for a left press at client point (x, y) of window, at
    // timeMs on the native events' clock.
    UINT leftPress(HWND window, int x, int y, unsigned long timeMs);

    // WM_LBUTTONDBLCLK for a window whose class takes it, else WM_LBUTTONDOWN;
    // any other message as it is.
    static UINT asWindowTakesIt(HWND window, UINT message);

private:
    static bool takesDoubleClicks(HWND window);

    HWND firstWindow = nullptr;  // null: no first press waiting for its second
    int firstX = 0;
    int firstY = 0;
    unsigned long firstTimeMs = 0;
};

}  // namespace win32subset
