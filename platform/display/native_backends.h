// The display backend our window layer starts with: it hosts windows inside
// windows of another copy of the layer (through the host's window bridge) or
// inside X11 windows, whichever the parent handle names, and does nothing
// for windows that live only in memory.
#pragma once

#include "platform/display/hosting_backend.h"

namespace win32subset {

class X11Backend;

class NativeBackends : public DisplayBackend {
public:
    // Asked in this order.
    NativeBackends(HostingBackend& first, HostingBackend& second) : systems{&first, &second} {}

    bool attachWindow(HWND window, HWND nativeParent, const RECT& frame) override;
    void detachWindow(HWND window) override;
    void surfaceUpdated(HWND window, const Surface& surface) override;
    void pollEvents() override;
    bool screenOrigin(HWND window, POINT* origin) override;
    bool cursorPosition(POINT* position) override;
    bool keyState(int virtualKey, bool* down) override;
    // The first system's that has one.
    int eventDescriptor() const override;

private:
    HostingBackend* hostOf(HWND window) const;
    // The first system that shows any window: the one whose pointer counts.
    HostingBackend* live() const;

    HostingBackend* systems[2];
};

DisplayBackend& builtInDisplayBackend();
// The built-in X11 backend, for tests that look at its windows.
X11Backend& builtInX11Backend();

}  // namespace win32subset
