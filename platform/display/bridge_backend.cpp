#include "platform/display/bridge_backend.h"

#include <dlfcn.h>

#include <algorithm>

#include "platform/windows/double_click_tracker.h"
#include "platform/windows/window_manager.h"

namespace win32subset {

const RoomplateWindowBridge* BridgeBackend::findBridge() {
    if (looked) return bridge;
    looked = true;  // the executable's exports do not change while it runs
    using Entry = const RoomplateWindowBridge* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(RTLD_DEFAULT, "roomplateWindowBridge"));
    const RoomplateWindowBridge* found = entry != nullptr ? entry() : nullptr;
    if (found != nullptr && found->version == kRoomplateWindowBridgeVersion && found->owner != ownWindowBridgeOwner())
        bridge = found;
    return bridge;
}

BridgeBackend::Peer* BridgeBackend::find(HWND window) const {
    for (const auto& peer : peers) {
        if (peer->window == window) return peer.get();
    }
    return nullptr;
}

bool BridgeBackend::attachWindow(HWND window, HWND nativeParent, const RECT& frame) {
    const RoomplateWindowBridge* host = findBridge();
    int32_t width = 0;
    int32_t height = 0;
    if (host == nullptr || !host->clientSize(nativeParent, &width, &height)) return false;
    auto peer = std::make_unique<Peer>();
    peer->window = window;
    peer->child = host->createChild(nativeParent, frame.left, frame.top, frame.right - frame.left,
                                    frame.bottom - frame.top, &BridgeBackend::receive, peer.get());
    if (peer->child == nullptr) return false;
    peers.push_back(std::move(peer));
    return true;
}

void BridgeBackend::detachWindow(HWND window) {
    auto it = std::find_if(peers.begin(), peers.end(), [window](const auto& p) { return p->window == window; });
    if (it == peers.end()) return;
    if (!(*it)->childGone) bridge->destroyChild((*it)->child);
    peers.erase(it);
}

void BridgeBackend::receive(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* peer = static_cast<Peer*>(context);
    switch (message) {
        case WM_PAINT: {
            const auto* area = reinterpret_cast<const int32_t*>(lParam);
            const RECT lost{area[0], area[1], area[2], area[3]};
            peer->shown.expose(lost);
            InvalidateRect(peer->window, &lost, FALSE);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MOUSEWHEEL:
            postWindowMessage(peer->window, DoubleClickTracker::asWindowTakesIt(peer->window, message), wParam, lParam);
            break;
        case WM_DESTROY: peer->childGone = true; break;
        default: break;
    }
}

void BridgeBackend::surfaceUpdated(HWND window, const Surface& surface) {
    Peer* peer = find(window);
    if (peer == nullptr || peer->childGone) return;
    const RECT area = peer->shown.takeChanges(surface);
    if (area.right <= area.left || area.bottom <= area.top) return;
    const int32_t corners[4] = {area.left, area.top, area.right, area.bottom};
    bridge->present(peer->child, surface.pixels.data(), surface.width, corners);
}

bool BridgeBackend::screenOrigin(HWND window, POINT* origin) {
    const Peer* peer = find(window);
    int32_t x = 0;
    int32_t y = 0;
    if (peer == nullptr || peer->childGone || !bridge->screenOrigin(peer->child, &x, &y)) return false;
    *origin = {x, y};
    return true;
}

bool BridgeBackend::cursorPosition(POINT* position) {
    int32_t x = 0;
    int32_t y = 0;
    if (peers.empty() || !bridge->cursorPosition(&x, &y)) return false;
    *position = {x, y};
    return true;
}

bool BridgeBackend::keyState(int virtualKey, bool* down) {
    if (peers.empty()) return false;
    *down = (static_cast<uint16_t>(bridge->keyState(virtualKey)) & 0x8000u) != 0;
    return true;
}

}  // namespace win32subset
