// Placeholder definitions so that code written against the header links;
// replaced by the real implementation.
#include "platform/embedded_bitmaps.h"
#include "platform/win32.h"
#include "platform/win32_testing.h"

HDC WINAPI CreateCompatibleDC(HDC) { return nullptr; }
BOOL WINAPI DeleteDC(HDC) { return 0; }
HBITMAP WINAPI CreateBitmap(int, int, UINT, UINT, const void*) { return nullptr; }
HBITMAP WINAPI CreateCompatibleBitmap(HDC, int, int) { return nullptr; }
HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) { return nullptr; }
HGDIOBJ WINAPI GetCurrentObject(HDC, UINT) { return nullptr; }
BOOL WINAPI DeleteObject(HGDIOBJ) { return 0; }
int WINAPI GetObjectA(HANDLE, int, LPVOID) { return 0; }
HGDIOBJ WINAPI GetStockObject(int) { return nullptr; }
HPEN WINAPI CreatePenIndirect(const LOGPEN*) { return nullptr; }
HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH*) { return nullptr; }
HFONT WINAPI CreateFontIndirectA(const LOGFONTA*) { return nullptr; }
COLORREF WINAPI SetBkColor(HDC, COLORREF) { return CLR_INVALID; }
int WINAPI SetBkMode(HDC, int) { return 0; }
COLORREF WINAPI SetTextColor(HDC, COLORREF) { return CLR_INVALID; }
int WINAPI SetMapMode(HDC, int) { return 0; }
int WINAPI GetMapMode(HDC) { return 0; }
BOOL WINAPI DPtoLP(HDC, LPPOINT, int) { return 0; }
BOOL WINAPI MoveToEx(HDC, int, int, LPPOINT) { return 0; }
BOOL WINAPI LineTo(HDC, int, int) { return 0; }
BOOL WINAPI Polyline(HDC, const POINT*, int) { return 0; }
BOOL WINAPI Polygon(HDC, const POINT*, int) { return 0; }
BOOL WINAPI Arc(HDC, int, int, int, int, int, int, int, int) { return 0; }
BOOL WINAPI Ellipse(HDC, int, int, int, int) { return 0; }
BOOL WINAPI Pie(HDC, int, int, int, int, int, int, int, int) { return 0; }
COLORREF WINAPI SetPixel(HDC, int, int, COLORREF) { return CLR_INVALID; }
COLORREF WINAPI GetPixel(HDC, int, int) { return CLR_INVALID; }
BOOL WINAPI BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return 0; }
int WINAPI GetDIBits(HDC, HBITMAP, UINT, UINT, LPVOID, LPBITMAPINFO, UINT) { return 0; }
int WINAPI FillRect(HDC, const RECT*, HBRUSH) { return 0; }
int WINAPI DrawTextA(HDC, LPCSTR, int, LPRECT, UINT) { return 0; }
HBITMAP WINAPI LoadBitmapA(HINSTANCE, LPCSTR) { return nullptr; }
HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) { return nullptr; }
HBRUSH WINAPI GetSysColorBrush(int) { return nullptr; }
ATOM WINAPI RegisterClassA(const WNDCLASSA*) { return 0; }
BOOL WINAPI UnregisterClassA(LPCSTR, HINSTANCE) { return 0; }
HWND WINAPI CreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) {
    return nullptr;
}
BOOL WINAPI ShowWindow(HWND, int) { return 0; }
BOOL WINAPI UpdateWindow(HWND) { return 0; }
BOOL WINAPI DestroyWindow(HWND) { return 0; }
LONG WINAPI SetWindowLongA(HWND, int, LONG) { return 0; }
LONG WINAPI GetWindowLongA(HWND, int) { return 0; }
LONG_PTR WINAPI SetWindowLongPtrA(HWND, int, LONG_PTR) { return 0; }
LONG_PTR WINAPI GetWindowLongPtrA(HWND, int) { return 0; }
LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }
BOOL WINAPI GetClientRect(HWND, LPRECT) { return 0; }
HDC WINAPI GetDC(HWND) { return nullptr; }
int WINAPI ReleaseDC(HWND, HDC) { return 0; }
BOOL WINAPI InvalidateRect(HWND, const RECT*, BOOL) { return 0; }
BOOL WINAPI GetUpdateRect(HWND, LPRECT, BOOL) { return 0; }
HDC WINAPI BeginPaint(HWND, LPPAINTSTRUCT) { return nullptr; }
BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT*) { return 0; }
BOOL WINAPI PeekMessageA(LPMSG, HWND, UINT, UINT, UINT) { return 0; }
BOOL WINAPI TranslateMessage(const MSG*) { return 0; }
LRESULT WINAPI DispatchMessageA(const MSG*) { return 0; }
BOOL WINAPI GetCursorPos(LPPOINT) { return 0; }
int WINAPI MapWindowPoints(HWND, HWND, LPPOINT, UINT) { return 0; }
SHORT WINAPI GetAsyncKeyState(int) { return 0; }
DWORD WINAPI GetTickCount(void) { return 0; }
void registerEmbeddedBitmap(int, const unsigned char*, std::size_t) {}
namespace win32testing {
void scriptInput(const std::vector<InputStep>&) {}
void clearInputScript() {}
int cursorPollCount() { return 0; }
void setTickCount(DWORD) {}
void advanceTickCount(DWORD) {}
void useRealClock() {}
bool postClick(HWND, UINT, int, int) { return false; }
}  // namespace win32testing
