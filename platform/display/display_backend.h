// Where a window system plugs into our window layer. Without one, windows
// live only in memory: their surfaces are read back through GetDC and BitBlt,
// and input comes from the testing script.
//
// A backend may also host windows: a child window whose parent handle is not
// one of ours (an X11 window id a Linux host hands the editor, or a window of
// another copy of this layer in the process) is offered to it. A hosted
// window keeps a surface of its own, like a top-level window, and the backend
// shows it inside that native parent and feeds its events in.
#pragma once

#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace win32subset {

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Drawing through a window DC into this top-level (or hosted) window's
    // surface has ended (ReleaseDC, EndPaint): time to show it.
    virtual void surfaceUpdated(HWND topLevel, const Surface& surface) = 0;
    // Called by PeekMessageA before it looks at the queue, to turn pending
    // native events into posted messages (postWindowMessage).
    virtual void pollEvents() = 0;

    // window was just created with nativeParent, which is none of ours, as
    // its parent; frame is its rectangle in that parent. True if the backend
    // shows it there; false leaves the creation to fail as it would without.
    virtual bool attachWindow(HWND /*window*/, HWND /*nativeParent*/, const RECT& /*frame*/) { return false; }
    // An attached window is being destroyed (after its WM_DESTROY).
    virtual void detachWindow(HWND /*window*/) {}
    // Where an attached window's client area lies on the screen.
    virtual bool screenOrigin(HWND /*window*/, POINT* /*origin*/) { return false; }
    // The live pointer and keys, while the backend shows windows: false
    // leaves GetCursorPos and GetAsyncKeyState to the testing script.
    virtual bool cursorPosition(POINT* /*position*/) { return false; }
    virtual bool keyState(int /*virtualKey*/, bool* /*down*/) { return false; }
    // The file descriptor that turns readable when native events wait for
    // pollEvents (a host may watch it instead of polling); -1 for none.
    virtual int eventDescriptor() const { return -1; }
};

// Installs the backend (not owned); null puts back the built-in one, which
// hosts windows in X11 windows and in other copies of this layer and stays
// idle until a window is created inside one.
void setDisplayBackend(DisplayBackend* backend);
// The installed backend's eventDescriptor(): while an editor shows in an
// X11 window, our own connection to the X server.
int displayEventDescriptor();
// Queues a message as PostMessage would; false for a stale window.
bool postWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32subset
