// The window class every frame's child window uses: registered by the first
// frame that makes a window and unregistered when the last such frame goes.
//
// Process-wide and unlocked: frames are made and deleted on one thread.
#pragma once

#include "platform/win32.h"

class FrameWindowClass {
public:
    // Counts one more user; the first registers the class with this procedure.
    static void acquire(WNDPROC windowProcedure);
    // Counts one user less; the last unregisters the class.
    static void release();
    // "Plugin" followed by the module handle in lower-case hexadecimal, at least eight digits.
    static const char* name();
    static int useCount() { return users; }

private:
    static int users;
};
