#include "host/editor_window/editor_host_window.h"

#include <chrono>
#include <thread>

#include "host/cli/command_error.h"

namespace {

constexpr const char* kHostClassName = "RoomplateEditorHost";
constexpr int kMaxSettleRounds = 50;
// Under Wine the X server's events reach the windows asynchronously.
constexpr auto kSettlePause = std::chrono::milliseconds(10);

HINSTANCE programInstance() {
#if defined(_WIN32)
    return GetModuleHandleA(nullptr);
#else
    return nullptr;
#endif
}

void registerHostClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = programInstance();
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kHostClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
}

ERect editorRect(HostedPlugin& plugin) {
    ERect* rect = nullptr;
    if (plugin.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
        throw CommandError("the plug-in has no editor (effEditGetRect answered no rectangle)");
    if (rect->right <= rect->left || rect->bottom <= rect->top)
        throw CommandError("the plug-in's editor rectangle is empty");
    return *rect;
}

}  // namespace

EditorHostWindow::EditorHostWindow(HostedPlugin& plugin) : plugin(plugin) {
    const ERect rect = editorRect(plugin);
    clientWidth = rect.right - rect.left;
    clientHeight = rect.bottom - rect.top;
    registerHostClass();
    // A popup has no frame: its client area is exactly the editor's size.
    window = CreateWindowExA(0, kHostClassName, "Roomplate", WS_POPUP | WS_VISIBLE, 0, 0, clientWidth, clientHeight,
                             nullptr, nullptr, programInstance(), nullptr);
    if (window == nullptr) throw CommandError("cannot create a window for the editor");
    plugin.dispatch(effEditOpen, 0, 0, window);
    editorOpen = true;
}

EditorHostWindow::~EditorHostWindow() {
    if (editorOpen) plugin.dispatch(effEditClose);
    DestroyWindow(window);
    pumpMessages();
    UnregisterClassA(kHostClassName, programInstance());
}

void EditorHostWindow::pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool EditorHostWindow::needsPainting() const {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetUpdateRect(child, nullptr, FALSE)) return true;
    }
    return false;
}

void EditorHostWindow::settle(int minimumRounds) {
    for (int round = 0; round < kMaxSettleRounds; ++round) {
        pumpMessages();
        plugin.dispatch(effEditIdle);
        if (round + 1 >= minimumRounds && !needsPainting()) break;
        std::this_thread::sleep_for(kSettlePause);
    }
}

void EditorHostWindow::click(int x, int y) {
    HWND editor = GetWindow(window, GW_CHILD);
    if (editor == nullptr) throw CommandError("the editor opened no window inside the host's");
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

RgbaImage EditorHostWindow::capture() const {
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, clientWidth, clientHeight);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, clientWidth, clientHeight, windowDc, 0, 0, SRCCOPY);
    SelectObject(memoryDc, previous);  // GetDIBits wants the bitmap unselected

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = clientWidth;
    info.bmiHeader.biHeight = -clientHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(clientWidth) * clientHeight);
    const int rows =
        GetDIBits(memoryDc, bitmap, 0, static_cast<UINT>(clientHeight), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    if (rows != clientHeight) throw CommandError("cannot read the window's pixels");

    RgbaImage image;
    image.width = clientWidth;
    image.height = clientHeight;
    image.bytes.reserve(pixels.size() * 4);
    for (std::uint32_t pixel : pixels) {  // 0x00RRGGBB
        image.bytes.push_back(static_cast<std::uint8_t>(pixel >> 16));
        image.bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));
        image.bytes.push_back(static_cast<std::uint8_t>(pixel));
        image.bytes.push_back(255);
    }
    return image;
}
