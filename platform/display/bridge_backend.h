// Shows windows inside windows of another copy of our layer in the process
// (a host built on it, such as the roomplate CLI), through the bridge that
// the host's executable exports.
#pragma once

#include <memory>
#include <vector>

#include "platform/display/hosting_backend.h"
#include "platform/display/shown_surface.h"
#include "platform/display/window_bridge.h"

namespace win32subset {

class BridgeBackend : public HostingBackend {
public:
    bool attachWindow(HWND window, HWND nativeParent, const RECT& frame) override;
    void detachWindow(HWND window) override;
    void surfaceUpdated(HWND window, const Surface& surface) override;
    void pollEvents() override {}  // the host's own dispatch delivers
    bool screenOrigin(HWND window, POINT* origin) override;
    bool cursorPosition(POINT* position) override;
    bool keyState(int virtualKey, bool* down) override;
    bool hosts(HWND window) const override { return find(window) != nullptr; }
    bool hasWindows() const override { return !peers.empty(); }

private:
    struct Peer {
        HWND window;
        void* child = nullptr;  // the host's window standing for ours
        bool childGone = false;
        ShownSurface shown;
    };

    static void receive(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam);
    const RoomplateWindowBridge* findBridge();
    Peer* find(HWND window) const;

    const RoomplateWindowBridge* bridge = nullptr;
    bool looked = false;
    std::vector<std::unique_ptr<Peer>> peers;
};

}  // namespace win32subset
