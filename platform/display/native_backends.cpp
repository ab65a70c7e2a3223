#include "platform/display/native_backends.h"

#include "platform/display/bridge_backend.h"
#include "platform/display/x11_backend.h"

namespace win32subset {

bool NativeBackends::attachWindow(HWND window, HWND nativeParent, const RECT& frame) {
    // The bridge first: it only answers for handles its host knows, while
    // asking the X server means a round trip.
    for (HostingBackend* system : systems) {
        if (system->attachWindow(window, nativeParent, frame)) return true;
    }
    return false;
}

HostingBackend* NativeBackends::hostOf(HWND window) const {
    for (HostingBackend* system : systems) {
        if (system->hosts(window)) return system;
    }
    return nullptr;
}

HostingBackend* NativeBackends::live() const {
    for (HostingBackend* system : systems) {
        if (system->hasWindows()) return system;
    }
    return nullptr;
}

void NativeBackends::detachWindow(HWND window) {
    if (HostingBackend* system = hostOf(window)) system->detachWindow(window);
}

void NativeBackends::surfaceUpdated(HWND window, const Surface& surface) {
    if (HostingBackend* system = hostOf(window)) system->surfaceUpdated(window, surface);
}

int NativeBackends::eventDescriptor() const {
    for (const HostingBackend* system : systems)
        if (system->eventDescriptor() >= 0) return system->eventDescriptor();
    return -1;
}

void NativeBackends::pollEvents() {
    for (HostingBackend* system : systems) system->pollEvents();
}

bool NativeBackends::screenOrigin(HWND window, POINT* origin) {
    HostingBackend* system = hostOf(window);
    return system != nullptr && system->screenOrigin(window, origin);
}

bool NativeBackends::cursorPosition(POINT* position) {
    HostingBackend* system = live();
    return system != nullptr && system->cursorPosition(position);
}

bool NativeBackends::keyState(int virtualKey, bool* down) {
    HostingBackend* system = live();
    return system != nullptr && system->keyState(virtualKey, down);
}

X11Backend& builtInX11Backend() {
    // Never destroyed, like the windows it may still show at exit.
    static auto* backend = new X11Backend;
    return *backend;
}

DisplayBackend& builtInDisplayBackend() {
    static auto* bridge = new BridgeBackend;
    static auto* backends = new NativeBackends(*bridge, builtInX11Backend());
    return *backends;
}

}  // namespace win32subset
