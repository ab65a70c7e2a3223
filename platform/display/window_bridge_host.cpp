// The host side of the window bridge: child windows of this copy of the
// layer that stand for a window of another copy's, drawn with its pixels.
#include <algorithm>
#include <vector>

#include "platform/display/window_bridge.h"
#include "platform/win32.h"

namespace {

constexpr const char* kChildClassName = "RoomplateBridgedWindow";

// In the child's user data from its creation to its WM_DESTROY.
struct ChildLink {
    RoomplateBridgeSink sink;
    void* context;
    bool destroyedByOwner = false;
};

ChildLink* linkOf(HWND window) { return reinterpret_cast<ChildLink*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

LRESULT CALLBACK childProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChildLink* link = linkOf(window);
    if (link == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            // Our pixels come from the owner: tell it what to draw again.
            RECT lost;
            if (GetUpdateRect(window, &lost, FALSE)) {
                const int32_t area[4] = {lost.left, lost.top, lost.right, lost.bottom};
                link->sink(link->context, WM_PAINT, 0, reinterpret_cast<intptr_t>(area));
            }
            break;  // DefWindowProcA validates
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: link->sink(link->context, message, wParam, lParam); break;
        case WM_MOUSEWHEEL: link->sink(link->context, message, wParam, lParam); return 0;  // not to the parent
        case WM_DESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            if (!link->destroyedByOwner) link->sink(link->context, WM_DESTROY, 0, 0);
            delete link;
            break;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerChildClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;  // the owner's window decides whether it takes them
    windowClass.lpfnWndProc = childProcedure;
    windowClass.lpszClassName = kChildClassName;
    windowClass.hbrBackground = nullptr;  // the owner's pixels, never an erase
    registered = RegisterClassA(&windowClass) != 0;
}

int clientSize(void* window, int32_t* width, int32_t* height) {
    RECT client;
    if (!GetClientRect(static_cast<HWND>(window), &client)) return 0;
    *width = client.right;
    *height = client.bottom;
    return 1;
}

void* createChild(void* parent, int32_t x, int32_t y, int32_t width, int32_t height, RoomplateBridgeSink sink,
                  void* context) {
    registerChildClass();
    HWND child = CreateWindowExA(0, kChildClassName, "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                 static_cast<HWND>(parent), nullptr, nullptr, nullptr);
    if (child != nullptr)
        SetWindowLongPtrA(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ChildLink{sink, context}));
    return child;
}

void destroyChild(void* child) {
    HWND window = static_cast<HWND>(child);
    if (ChildLink* link = linkOf(window)) link->destroyedByOwner = true;
    DestroyWindow(window);
}

void present(void* child, const uint32_t* pixels, int32_t width, const int32_t* area) {
    const int32_t areaWidth = area[2] - area[0];
    const int32_t areaHeight = area[3] - area[1];
    if (areaWidth <= 0 || areaHeight <= 0) return;
    std::vector<uint32_t> block(static_cast<std::size_t>(areaWidth) * areaHeight);
    for (int32_t row = 0; row < areaHeight; ++row) {
        const uint32_t* source = pixels + static_cast<std::size_t>(area[1] + row) * width + area[0];
        std::copy(source, source + areaWidth, block.begin() + static_cast<std::size_t>(row) * areaWidth);
    }
    HBITMAP bitmap = CreateBitmap(areaWidth, areaHeight, 1, 32, block.data());
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HWND window = static_cast<HWND>(child);
    HDC target = GetDC(window);
    BitBlt(target, area[0], area[1], areaWidth, areaHeight, memory, 0, 0, SRCCOPY);
    ReleaseDC(window, target);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

int screenOrigin(void* child, int32_t* x, int32_t* y) {
    RECT client;
    if (!GetClientRect(static_cast<HWND>(child), &client)) return 0;
    POINT origin{0, 0};
    MapWindowPoints(static_cast<HWND>(child), nullptr, &origin, 1);
    *x = origin.x;
    *y = origin.y;
    return 1;
}

int cursorPosition(int32_t* x, int32_t* y) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return 0;
    *x = cursor.x;
    *y = cursor.y;
    return 1;
}

int16_t keyState(int32_t virtualKey) { return GetAsyncKeyState(virtualKey); }

const char bridgeOwner = 0;

}  // namespace

extern "C" __attribute__((visibility("default"))) const RoomplateWindowBridge* roomplateWindowBridge(void) {
    static const RoomplateWindowBridge bridge{kRoomplateWindowBridgeVersion,
                                              &bridgeOwner,
                                              clientSize,
                                              createChild,
                                              destroyChild,
                                              present,
                                              screenOrigin,
                                              cursorPosition,
                                              keyState};
    return &bridge;
}

const void* win32subset::ownWindowBridgeOwner() { return &bridgeOwner; }
