// Where a window system (an X11 backend, say) plugs into our window layer.
// Without one, windows live only in memory: their surfaces are read back
// through GetDC and BitBlt, and input comes from the testing script.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

namespace win32subset {

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Drawing through a window DC into this top-level window's surface has
    // ended (ReleaseDC, EndPaint): time to show it.
    virtual void surfaceUpdated(HWND topLevel, const Surface& surface) = 0;
    // Called by PeekMessageA before it looks at the queue, to turn pending
    // native events into posted messages (postWindowMessage).
    virtual void pollEvents() = 0;
};

// Installs the backend (null removes it); not owned.
void setDisplayBackend(DisplayBackend* backend);
// Queues a message as PostMessage would; false for a stale window.
bool postWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32subset
