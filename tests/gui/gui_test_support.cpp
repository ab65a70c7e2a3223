#include "gui_test_support.h"

#include <cstdio>
#include <cstring>

#include "frame/plugin_entry.h"

namespace {

constexpr DWORD popupVisible = 0x80000000u | 0x10000000u;  // WS_POPUP | WS_VISIBLE
constexpr DWORD childVisible = 0x40000000u | 0x10000000u;  // WS_CHILD | WS_VISIBLE
const char* const hostClassName = "RoomplateTestHost";

// One visible top-level window for the whole test program, left for the
// process exit to remove: destroying a visible top-level window waits for the
// display under Wine, while child windows come and go at once.
HWND desktopWindow() {
    static HWND window = nullptr;
    if (window != nullptr) return window;
    useTestModuleHandle();
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = static_cast<HINSTANCE>(moduleHandle);
    windowClass.lpszClassName = hostClassName;
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, hostClassName, "Tests", popupVisible, 0, 0, 800, 800, nullptr, nullptr,
                             static_cast<HINSTANCE>(moduleHandle), nullptr);
    return window;
}

COLORREF colorRef(const GuiColor& color) { return static_cast<COLORREF>(color.toColorRef()); }

GuiColor fromColorRef(COLORREF value) {
    return GuiColor{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                    static_cast<std::uint8_t>((value >> 16) & 0xFF), 0};
}

}  // namespace

void useTestModuleHandle() {
#if defined(_WIN32)
    moduleHandle = GetModuleHandleA(nullptr);
#else
    moduleHandle = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x00400000u));
#endif
}

HostWindow::HostWindow(int width, int height) {
    HWND desktop = desktopWindow();
    window = CreateWindowExA(0, hostClassName, "Host", childVisible, 0, 0, width, height, desktop, nullptr,
                             static_cast<HINSTANCE>(moduleHandle), nullptr);
}

HostWindow::~HostWindow() { destroy(); }

void HostWindow::destroy() {
    if (window != nullptr) DestroyWindow(window);
    window = nullptr;
}

GuiCanvas::GuiCanvas(const HostWindow& host, int width, int height, const GuiColor& clearColor)
    : PixelCanvas(width, height, host.handle()) {
    clear(clearColor);
}

GuiColor GuiCanvas::pixel(int x, int y) const { return fromColorRef(at(x, y)); }

GuiRect GuiCanvas::boundsOfPixelsOtherThan(const GuiColor& color) const {
    const RECT ink = inkBounds(color.toColorRef());
    if (ink.right == 0) return GuiRect(width(), height(), -1, -1);
    return GuiRect(ink.left, ink.top, ink.right - 1, ink.bottom - 1);
}

bool sameColor(const GuiColor& a, const GuiColor& b) { return a.sameRgb(b); }

std::string describe(const GuiColor& color) {
    char text[32];
    std::snprintf(text, sizeof(text), "(%d,%d,%d)", color.red, color.green, color.blue);
    return text;
}

::testing::AssertionResult pixelsMatch(const GuiCanvas& canvas, const PixelExpectation& expected,
                                       const std::string& name) {
    int mismatches = 0;
    std::string firstDifferences;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            GuiColor want = expected(x, y);
            GuiColor got = canvas.pixel(x, y);
            if (sameColor(want, got)) continue;
            if (mismatches++ < 8) {
                firstDifferences += " at (" + std::to_string(x) + "," + std::to_string(y) + ") want " + describe(want) +
                                    " got " + describe(got) + ";";
            }
        }
    }
    if (mismatches == 0) return ::testing::AssertionSuccess();
    canvas.savePpm(name + ".ppm");
    return ::testing::AssertionFailure() << mismatches << " pixels differ (image saved as " << name
                                         << ".ppm):" << firstDifferences;
}

HBITMAP makeColorBitmap(const HostWindow& host, int width, int height, const PixelExpectation& pixelAt) {
    HDC windowDc = GetDC(host.handle());
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP image = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ previous = SelectObject(memoryDc, image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(memoryDc, x, y, colorRef(pixelAt(x, y)));
    SelectObject(memoryDc, previous);
    DeleteDC(memoryDc);
    ReleaseDC(host.handle(), windowDc);
    return image;
}
