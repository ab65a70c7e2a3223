// Our USER layer: window classes, the window tree, update regions, window
// DCs and the message queue. Like a desktop without composition, each
// top-level window owns one colour surface and its child windows draw into
// it at their offset, clipped to their rectangle. GDI is reached only through
// window DCs (createWindowDc), and a DisplayBackend may show the surfaces.
#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace win32subset {

struct WindowClassRecord {
    std::string name;
    HINSTANCE instance = nullptr;
    WNDPROC procedure = nullptr;
    HBRUSH background = nullptr;
    UINT style = 0;  // CS_DBLCLKS: a second press soon after the first comes as WM_LBUTTONDBLCLK
    ATOM atom = 0;
    int windowCount = 0;
};

struct WindowRecord {
    WindowClassRecord* windowClass = nullptr;
    DWORD style = 0;
    HWND parent = nullptr;  // null for top-level windows
    std::vector<HWND> children;
    RECT frame{0, 0, 0, 0};  // in the parent's client coordinates; on the screen for top-level windows
    LONG_PTR userData = 0;
    bool visible = false;
    // The update region, kept as its bounding rectangle in client coordinates.
    bool hasUpdate = false;
    RECT update{0, 0, 0, 0};
    bool erasePending = false;
    std::shared_ptr<Surface> surface;  // top-level and hosted windows only
    // A hosted window: a root of our tree shown by the display backend
    // inside this native window (X11, or another copy of this layer).
    HWND nativeParent = nullptr;
    bool destroying = false;
};

class WindowManager {
public:
    static WindowManager& instance();

    ATOM registerClass(const WNDCLASSA& windowClass);
    bool unregisterClass(LPCSTR name, HINSTANCE instance);
    HWND create(LPCSTR className, DWORD style, const RECT& frame, HWND parent, HINSTANCE instance);
    bool destroy(HWND window);
    WindowRecord* find(HWND window) const;
    const WindowClassRecord* classOf(HWND window) const;

    // Visible itself and all its ancestors.
    bool isShown(HWND window) const;
    bool show(HWND window, bool visible);
    RECT clientRect(HWND window) const;
    POINT screenOrigin(HWND window) const;

    // Adds the rectangle (client coordinates; null for all) to the update
    // regions of the window and of the children it overlaps.
    void invalidate(HWND window, const RECT* rect, bool erase);
    void invalidateAll(bool erase);
    void validate(HWND window);
    // Sends WM_ERASEBKGND if an erase is pending; true if the window erased.
    bool eraseIfPending(HWND window, HDC dc);

    // A window DC clipped to the visible client area and to paintClip, if any.
    HDC openDc(HWND window, const RECT* paintClip);
    bool closeDc(HWND window, HDC dc);

    LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // True while a window procedure runs (a knob's drag loop, say).
    bool insideWindowProcedure() const { return procedureDepth > 0; }
    bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool peek(MSG* message, HWND filter, UINT first, UINT last, bool remove);
    // Paints the window, then its children, if they need it.
    void updateNow(HWND window);

    // Null puts back the built-in backend.
    void setBackend(DisplayBackend* backend);
    std::vector<HWND> hostedWindows() const;
    void pollBackend() { backend->pollEvents(); }
    DisplayBackend& displayBackend() const { return *backend; }

private:
    WindowManager();

    WindowClassRecord* findClass(LPCSTR name, HINSTANCE instance);
    HWND topLevelOf(HWND window) const;
    POINT surfaceOrigin(HWND window) const;
    RECT visibleClientRect(HWND window) const;
    bool isWithin(HWND window, HWND ancestor) const;
    HWND nextToPaint(HWND window, HWND filter) const;
    void collectSubtree(HWND window, std::vector<HWND>& windows) const;
    void forget(HWND window);
    HWND addRecord(std::unique_ptr<WindowRecord> record, bool root);

    HandleTable<WindowRecord> windows{0xC};
    std::list<WindowClassRecord> classes;
    std::vector<HWND> topLevels;
    std::deque<MSG> queue;
    ATOM nextAtom = 0xC000;
    DisplayBackend* backend;
    int procedureDepth = 0;
};

}  // namespace win32subset
