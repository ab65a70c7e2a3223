#include "platform/windows/double_click_tracker.h"

#include <cstdint>
#include <cstdlib>

#include "platform/windows/window_manager.h"

namespace win32subset {

bool DoubleClickTracker::takesDoubleClicks(HWND window) {
    const WindowClassRecord* windowClass = WindowManager::instance().classOf(window);
    return windowClass != nullptr && (windowClass->style & CS_DBLCLKS) != 0;
}

UINT DoubleClickTracker::leftPress(HWND window, int x, int y, unsigned long timeMs) {
    // X11's clock is 32 bits of milliseconds and wraps (every 49.7 days): the difference in 32 bits.
    const auto elapsedMs = static_cast<std::uint32_t>(timeMs - firstTimeMs);
    const bool second = window == firstWindow && elapsedMs <= kDoubleClickMs &&
                        std::abs(x - firstX) <= kDoubleClickReach && std::abs(y - firstY) <= kDoubleClickReach;
    if (second && takesDoubleClicks(window)) {
        firstWindow = nullptr;
        return WM_LBUTTONDBLCLK;
    }
    firstWindow = window;
    firstX = x;
    firstY = y;
    firstTimeMs = timeMs;
    return WM_LBUTTONDOWN;
}

UINT DoubleClickTracker::asWindowTakesIt(HWND window, UINT message) {
    if (message == WM_LBUTTONDBLCLK && !takesDoubleClicks(window)) return WM_LBUTTONDOWN;
    return message;
}

}  // namespace win32subset
