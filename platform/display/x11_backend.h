// Shows windows inside X11 windows: a Linux host hands the editor its X11
// window id as the parent, and our window becomes a real X11 child window of
// it. The backend opens its own display connection when the first such window
// is created and closes it with the last one; it reads that connection's
// events only when asked (pollEvents, from PeekMessageA and the editor's
// idle), so no thread is started.
//
// On its connection: Expose becomes WM_PAINT of the exposed area, presses of
// buttons 1 and 3 become WM_LBUTTONDOWN (or WM_LBUTTONDBLCLK, timed as Windows
// does) and WM_RBUTTONDOWN, buttons 4 and 5 (the wheel) WM_MOUSEWHEEL; the
// cursor and the button and modifier keys are read live from the server
// (XQueryPointer).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display/hosting_backend.h"
#include "platform/display/shown_surface.h"
#include "platform/windows/double_click_tracker.h"

struct _XDisplay;
struct _XGC;
struct _XImage;
union _XEvent;

namespace win32subset {

class X11Backend : public HostingBackend {
public:
    X11Backend() = default;
    X11Backend(const X11Backend&) = delete;
    X11Backend& operator=(const X11Backend&) = delete;
    ~X11Backend() override;

    bool attachWindow(HWND window, HWND nativeParent, const RECT& frame) override;
    void detachWindow(HWND window) override;
    void surfaceUpdated(HWND window, const Surface& surface) override;
    void pollEvents() override;
    bool screenOrigin(HWND window, POINT* origin) override;
    bool cursorPosition(POINT* position) override;
    bool keyState(int virtualKey, bool* down) override;
    // The connection's descriptor while it is open.
    int eventDescriptor() const override;
    bool hosts(HWND window) const override { return find(window) != nullptr; }
    bool hasWindows() const override { return !shown.empty(); }

    // Whether the backend's own display connection is open.
    bool connected() const { return display != nullptr; }
    // The X11 window that shows window, or 0.
    unsigned long nativeWindowOf(HWND window) const;

private:
    struct ShownWindow {
        HWND window = nullptr;
        unsigned long xWindow = 0;
        unsigned long root = 0;
        _XGC* gc = nullptr;
        _XImage* image = nullptr;  // the whole window; only changed areas are converted and put
        std::vector<char> imageData;
        bool directPixels = false;  // 32-bit little-endian 0xAARRGGBB: our pixels as they are
        std::uint32_t opaqueBits = 0;
        bool gone = false;  // the server destroyed it with its parent
        ShownSurface shownSurface;
    };

    bool connect();
    void disconnectIfUnused();
    ShownWindow* find(HWND window) const;
    ShownWindow* findNative(unsigned long xWindow) const;
    std::unique_ptr<ShownWindow> createChild(HWND window, unsigned long parent, const RECT& frame);
    void destroyChild(ShownWindow& child);
    void handle(const _XEvent& event);
    void postWheel(const ShownWindow& child, bool awayFromUser, unsigned state, int rootX, int rootY);
    void fillImage(ShownWindow& child, const Surface& surface, const RECT& area) const;
    bool queryPointer(POINT* position, unsigned* buttonsAndModifiers);

    _XDisplay* display = nullptr;
    std::vector<std::unique_ptr<ShownWindow>> shown;
    DoubleClickTracker doubleClicks;
};

}  // namespace win32subset
