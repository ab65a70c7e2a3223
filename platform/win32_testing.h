// Scripted input and time for tests of code that polls the mouse, the keys
// and the tick count (a knob's drag loop, the idle throttle). Only on our own
// Win32 subset: guard uses with #ifndef _WIN32.
//
// The script is a list of steps. Step 0 is current once the script is set:
// GetAsyncKeyState reads the keys of the current step, and GetCursorPos
// first moves to the next step and then answers that step's cursor. So a
// polling loop that reads the cursor and then the buttons sees step 1, step 2,
// ... with cursor and buttons of the same step, while code that asks for the
// buttons before the first cursor poll (the click itself) sees step 0. A
// GetCursorPos on the last step moves past the end: from then on the cursor
// stays at the last step's position and nothing is held, so a loop that waits
// for the release always ends.
//
// Without a script (and after clearInputScript) nothing is held and the
// cursor rests at (0, 0). GetTickCount reads a monotonic clock until
// setTickCount freezes it at a value of the test's choosing.
#pragma once

#if !defined(_WIN32)

#include <vector>

#include "platform/win32.h"

namespace win32testing {

// Bits of InputStep::held; the same values as the toolkit's mouse state bits.
enum HeldInput : unsigned {
    heldLeft = 1,
    heldMiddle = 2,
    heldRight = 4,
    heldShift = 8,
    heldControl = 16,
    heldAlt = 32,
};

struct InputStep {
    int cursorX = 0;  // screen coordinates
    int cursorY = 0;
    unsigned held = 0;    // HeldInput bits
    DWORD elapsedMs = 0;  // added to a frozen tick count when the step becomes current
};

void scriptInput(const std::vector<InputStep>& steps);
void clearInputScript();
// How many GetCursorPos calls have moved through the script since it was set.
int cursorPollCount();

// Freezes GetTickCount at ms (later steps may advance it); useRealClock undoes it.
void setTickCount(DWORD ms);
void advanceTickCount(DWORD ms);
void useRealClock();

// Posts a button-down message (WM_LBUTTONDOWN or WM_RBUTTONDOWN) at the
// client point (x, y) of the window, as a click there would. False for a
// stale window.
bool postClick(HWND window, UINT buttonDownMessage, int x, int y);

}  // namespace win32testing

#endif
