// The USER32 window functions over the window manager: each validates its
// handles and answers as Windows does for a null or stale one.
#include <algorithm>
#include <cstring>

#include "platform/gdi/handle_table.h"
#include "platform/gdi/window_dc.h"
#include "platform/hosted_windows.h"
#include "platform/win32_testing.h"
#include "platform/windows/rect_math.h"
#include "platform/windows/window_manager.h"

using win32subset::WindowManager;
using win32subset::WindowRecord;

namespace {

constexpr int kArrowCursorId = 32512;
// Bounds one idle pass even if a window procedure keeps posting.
constexpr int kMaxDispatchedPerIdle = 256;

// The one cursor there is, in a table of its own so that it is a valid,
// distinct handle.
HCURSOR arrowCursor() {
    static win32subset::HandleTable<int> cursors(0xE);
    static const HCURSOR arrow = reinterpret_cast<HCURSOR>(cursors.add(std::make_unique<int>(kArrowCursorId)));
    return arrow;
}

WindowRecord* findWindow(HWND window) { return WindowManager::instance().find(window); }

}  // namespace

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    // System cursors come without an instance, as on Windows.
    if (hInstance != nullptr || !IS_INTRESOURCE(lpCursorName) || LOWORD(lpCursorName) != kArrowCursorId) return nullptr;
    return arrowCursor();
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr) return 0;
    return WindowManager::instance().registerClass(*lpWndClass);
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance) {
    return WindowManager::instance().unregisterClass(lpClassName, hInstance) ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR, DWORD dwStyle, int X, int Y, int nWidth, int nHeight,
                            HWND hWndParent, HMENU, HINSTANCE hInstance, LPVOID) {
    // Positions and sizes kept within GDI's 16-bit coordinate space.
    auto clamp16 = [](int v) { return std::clamp(v, -32768, 32767); };
    const int x = clamp16(X);
    const int y = clamp16(Y);
    const RECT frame{x, y, x + std::clamp(nWidth, 0, 32767), y + std::clamp(nHeight, 0, 32767)};
    return WindowManager::instance().create(lpClassName, dwStyle, frame, hWndParent, hInstance);
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    if (findWindow(hWnd) == nullptr) return FALSE;
    return WindowManager::instance().show(hWnd, nCmdShow != SW_HIDE) ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    if (findWindow(hWnd) == nullptr) return FALSE;
    WindowManager::instance().updateNow(hWnd);
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND hWnd) { return WindowManager::instance().destroy(hWnd) ? TRUE : FALSE; }

// Only the user data exists among the window's longs. On 64-bit the LONG
// variants keep the low 32 bits, sign-extended, as Windows does.
LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    WindowRecord* record = findWindow(hWnd);
    if (record == nullptr || nIndex != GWLP_USERDATA) return 0;
    const LONG_PTR previous = record->userData;
    record->userData = dwNewLong;
    return previous;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    const WindowRecord* record = findWindow(hWnd);
    if (record == nullptr || nIndex != GWLP_USERDATA) return 0;
    return record->userData;
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM) {
    WindowManager& manager = WindowManager::instance();
    if (manager.find(hWnd) == nullptr) return 0;
    switch (Msg) {
        case WM_PAINT: {  // validates what the window procedure left invalid
            PAINTSTRUCT paint;
            BeginPaint(hWnd, &paint);
            EndPaint(hWnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {  // the class background, if the class has one
            HBRUSH background = manager.classOf(hWnd)->background;
            if (background == nullptr) return 0;
            const RECT client = manager.clientRect(hWnd);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background);
            return 1;
        }
        default: return 0;
    }
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    if (findWindow(hWnd) == nullptr || lpRect == nullptr) return FALSE;
    *lpRect = WindowManager::instance().clientRect(hWnd);
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd == nullptr)
        return win32subset::createWindowDc(nullptr, {0, 0}, {0, 0, 0, 0});  // the screen: draws nothing
    if (findWindow(hWnd) == nullptr) return nullptr;
    return WindowManager::instance().openDc(hWnd, nullptr);
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) { return WindowManager::instance().closeDc(hWnd, hDC) ? 1 : 0; }

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    WindowManager& manager = WindowManager::instance();
    if (hWnd == nullptr) {  // every window
        manager.invalidateAll(bErase != FALSE);
        return TRUE;
    }
    if (manager.find(hWnd) == nullptr) return FALSE;
    manager.invalidate(hWnd, lpRect, bErase != FALSE);
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
    WindowManager& manager = WindowManager::instance();
    WindowRecord* record = manager.find(hWnd);
    if (record == nullptr) return FALSE;
    if (lpRect != nullptr) *lpRect = record->hasUpdate ? record->update : RECT{0, 0, 0, 0};
    if (bErase && record->hasUpdate && record->erasePending) {
        const RECT update = record->update;
        HDC dc = manager.openDc(hWnd, &update);
        manager.eraseIfPending(hWnd, dc);
        manager.closeDc(hWnd, dc);
    }
    record = manager.find(hWnd);
    return record != nullptr && record->hasUpdate ? TRUE : FALSE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    WindowManager& manager = WindowManager::instance();
    WindowRecord* record = manager.find(hWnd);
    if (record == nullptr || lpPaint == nullptr) return nullptr;
    const RECT paintArea = record->hasUpdate ? record->update : RECT{0, 0, 0, 0};
    const bool erase = record->erasePending;
    manager.validate(hWnd);
    HDC dc = manager.openDc(hWnd, &paintArea);  // drawing reaches only the invalid part
    std::memset(lpPaint, 0, sizeof(*lpPaint));
    lpPaint->hdc = dc;
    lpPaint->rcPaint = paintArea;
    if (erase) {
        record->erasePending = true;
        lpPaint->fErase = manager.eraseIfPending(hWnd, dc) ? FALSE : TRUE;  // TRUE: the window must erase
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint != nullptr) WindowManager::instance().closeDc(hWnd, lpPaint->hdc);
    return TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr) return FALSE;
    if (hWnd != nullptr && findWindow(hWnd) == nullptr) return FALSE;
    return WindowManager::instance().peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

// Child windows in Z order: as on Windows, a new child goes below its
// siblings, so the first one created is on top.
HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    WindowManager& manager = WindowManager::instance();
    const WindowRecord* record = manager.find(hWnd);
    if (record == nullptr) return nullptr;
    if (uCmd == GW_CHILD) return record->children.empty() ? nullptr : record->children.front();
    if (uCmd != GW_HWNDNEXT || record->parent == nullptr) return nullptr;
    const std::vector<HWND>& siblings = manager.find(record->parent)->children;
    const auto next = std::find(siblings.begin(), siblings.end(), hWnd) + 1;
    return next == siblings.end() ? nullptr : *next;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return win32subset::postWindowMessage(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return WindowManager::instance().send(hWnd, Msg, wParam, lParam);
}

void win32subset::dispatchHostedWindowMessages() {
    WindowManager& manager = WindowManager::instance();
    const std::vector<HWND> hosted = manager.hostedWindows();
    if (hosted.empty()) return;  // windows in memory wait for whoever pumps them
    manager.pollBackend();
    // Inside a window procedure (a drag loop's idle pass) the messages wait
    // for it to return, as they would on Windows.
    if (manager.insideWindowProcedure()) return;
    for (HWND window : hosted) {
        MSG message;
        for (int i = 0; i < kMaxDispatchedPerIdle && PeekMessageA(&message, window, 0, 0, PM_REMOVE); ++i)
            DispatchMessageA(&message);
    }
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }  // no keyboard messages to translate

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    WindowManager& manager = WindowManager::instance();
    if (lpMsg == nullptr || manager.find(lpMsg->hwnd) == nullptr) return 0;
    const LRESULT result = manager.send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    // A window procedure that leaves its update region would get WM_PAINT forever.
    if (lpMsg->message == WM_PAINT && manager.find(lpMsg->hwnd) != nullptr) manager.validate(lpMsg->hwnd);
    return result;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
    WindowManager& manager = WindowManager::instance();
    if ((hWndFrom != nullptr && manager.find(hWndFrom) == nullptr) ||
        (hWndTo != nullptr && manager.find(hWndTo) == nullptr) || (lpPoints == nullptr && cPoints > 0)) {
        return 0;
    }
    const POINT from = hWndFrom != nullptr ? manager.screenOrigin(hWndFrom) : POINT{0, 0};
    const POINT to = hWndTo != nullptr ? manager.screenOrigin(hWndTo) : POINT{0, 0};
    const LONG dx = from.x - to.x;
    const LONG dy = from.y - to.y;
    for (UINT i = 0; i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    return MAKELONG(dx, dy);
}

bool win32testing::postClick(HWND window, UINT buttonDownMessage, int x, int y) {
    const WPARAM keys = buttonDownMessage == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    return win32subset::postWindowMessage(window, buttonDownMessage, keys, MAKELPARAM(x, y));
}
