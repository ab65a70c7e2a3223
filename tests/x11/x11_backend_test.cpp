// Our window layer inside real X11 windows: a child window whose parent is an
// X11 window id becomes an X11 child window of it, shows its pixels there,
// turns Expose and button presses into messages, reads the live pointer,
// and takes its X11 window and display connection with it when destroyed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/native_backends.h"
#include "platform/display/x11_backend.h"
#include "platform/win32.h"

// Last: Xlib's macros (None, Bool, Status …) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kParentX = 100, kParentY = 50;
constexpr int kChildX = 10, kChildY = 20, kChildWidth = 40, kChildHeight = 30;
constexpr COLORREF kPaint = RGB(200, 30, 40);

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    RECT update;
};

std::vector<Received>& received() {
    static std::vector<Received> log;
    return log;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Received entry{message, wParam, lParam, {0, 0, 0, 0}};
    if (message == WM_PAINT) {
        GetUpdateRect(window, &entry.update, FALSE);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        LOGBRUSH style{BS_SOLID, kPaint, 0};
        HBRUSH brush = CreateBrushIndirect(&style);
        const RECT all{0, 0, kChildWidth, kChildHeight};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
    }
    if (message != WM_ERASEBKGND) received().push_back(entry);
    return DefWindowProcA(window, message, wParam, lParam);
}

int countedErrors = 0;
int countingHandler(Display*, XErrorEvent*) {
    ++countedErrors;
    return 0;
}

class X11Hosting : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "no X display";
        XSetErrorHandler(countingHandler);
        countedErrors = 0;
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), kParentX, kParentY, 200, 150, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        received().clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.lpszClassName = "RoomplateX11Test";
        ASSERT_NE(0, RegisterClassA(&windowClass));
    }
    void TearDown() override {
        if (display == nullptr) return;
        UnregisterClassA("RoomplateX11Test", nullptr);
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    HWND create(std::uintptr_t parentId) {
        return CreateWindowExA(0, "RoomplateX11Test", "Window", WS_CHILD | WS_VISIBLE, kChildX, kChildY, kChildWidth,
                               kChildHeight, reinterpret_cast<HWND>(parentId), nullptr, nullptr, nullptr);
    }
    void pump() {
        XSync(display, False);
        for (int round = 0; round < 20; ++round) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            XSync(display, False);
        }
    }
    std::vector<Window> children() {
        Window root = 0, up = 0, *list = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &up, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list != nullptr) XFree(list);
        return result;
    }
    unsigned long pixelAt(Window window, int x, int y) {
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }
    // The pixel once it holds expected, or what it holds after two seconds: our
    // layer only flushes its drawing, so this connection may ask the server
    // before the server has read the drawing from the layer's connection.
    unsigned long settledPixelAt(Window window, int x, int y, unsigned long expected) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        unsigned long value = pixelAt(window, x, y);
        while (value != expected && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            value = pixelAt(window, x, y);
        }
        return value;
    }
    int messagesOf(UINT message) {
        int count = 0;
        for (const Received& r : received()) count += r.message == message;
        return count;
    }

    Display* display = nullptr;
    Window parent = 0;
};

TEST_F(X11Hosting, TheWindowIsAnX11ChildShowingItsPixels) {
    win32subset::X11Backend& backend = win32subset::builtInX11Backend();
    EXPECT_FALSE(backend.connected()) << "no connection before the first hosted window";
    HWND window = create(parent);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(backend.connected());
    const std::vector<Window> shown = children();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(shown[0], backend.nativeWindowOf(window));
    XWindowAttributes attributes;
    XGetWindowAttributes(display, shown[0], &attributes);
    EXPECT_EQ(kChildX, attributes.x);
    EXPECT_EQ(kChildY, attributes.y);
    EXPECT_EQ(kChildWidth, attributes.width);
    EXPECT_EQ(IsViewable, attributes.map_state);

    pump();
    ASSERT_GE(messagesOf(WM_PAINT), 1);
    constexpr unsigned long kPaintOnServer = 0xC81E28ul;  // kPaint as 0xRRGGBB
    EXPECT_EQ(kPaintOnServer, settledPixelAt(shown[0], 3, 3, kPaintOnServer))
        << "the painted colour reached the server";
    EXPECT_EQ(kPaintOnServer, settledPixelAt(shown[0], kChildWidth - 1, kChildHeight - 1, kPaintOnServer));

    POINT origin{0, 0};
    MapWindowPoints(window, nullptr, &origin, 1);
    EXPECT_EQ(kParentX + kChildX, origin.x);
    EXPECT_EQ(kParentY + kChildY, origin.y);

    DestroyWindow(window);
    EXPECT_TRUE(children().empty());
    EXPECT_FALSE(backend.connected()) << "the connection goes with the last window";
    EXPECT_EQ(0, countedErrors);
}

TEST_F(X11Hosting, ExposuresAndButtonPressesBecomeMessages) {
    HWND window = create(parent);
    ASSERT_NE(nullptr, window);
    pump();
    received().clear();
    const Window shown = children().at(0);

    XClearArea(display, shown, 5, 6, 7, 8, True);  // the server asks for those pixels again
    pump();
    ASSERT_EQ(1, messagesOf(WM_PAINT));
    const RECT update = received()[0].update;
    EXPECT_EQ(5, update.left);
    EXPECT_EQ(6, update.top);
    EXPECT_EQ(12, update.right);
    EXPECT_EQ(14, update.bottom);

    received().clear();
    for (unsigned button : {Button1, Button2, Button3}) {
        XEvent press{};
        press.xbutton.type = ButtonPress;
        press.xbutton.window = shown;
        press.xbutton.button = button;
        press.xbutton.x = 11;
        press.xbutton.y = 12 + static_cast<int>(button);
        XSendEvent(display, shown, False, ButtonPressMask, &press);
    }
    pump();
    ASSERT_EQ(2u, received().size()) << "buttons 1 and 3; the middle one means nothing";
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), received()[0].message);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON), received()[0].wParam);
    EXPECT_EQ(MAKELPARAM(11, 13), received()[0].lParam);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), received()[1].message);
    EXPECT_EQ(MAKELPARAM(11, 15), received()[1].lParam);
    DestroyWindow(window);
}

TEST_F(X11Hosting, TheCursorAndButtonsAreTheServersLiveState) {
    HWND window = create(parent);
    ASSERT_NE(nullptr, window);
    XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, 123, 87);
    XSync(display, False);
    POINT cursor{0, 0};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(123, cursor.x);
    EXPECT_EQ(87, cursor.y);
    MapWindowPoints(nullptr, window, &cursor, 1);
    EXPECT_EQ(123 - kParentX - kChildX, cursor.x);
    EXPECT_EQ(0, GetAsyncKeyState(VK_LBUTTON)) << "no button is held on the virtual server";
    DestroyWindow(window);
}

TEST_F(X11Hosting, WhatIsNoX11WindowIsRefusedQuietly) {
    EXPECT_EQ(nullptr, create(0x1FFFFFF0)) << "an id the server never gave out";
    EXPECT_EQ(nullptr, create(0x123456789ull)) << "too large for an X11 id";
    EXPECT_FALSE(win32subset::builtInX11Backend().connected());

    const std::string name = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(nullptr, create(parent)) << "without a display nothing is shown";
    setenv("DISPLAY", name.c_str(), 1);
    EXPECT_EQ(0, countedErrors) << "the errors of our connection never reach the program's handler";

    // Errors on the program's own connection still reach its handler.
    HWND window = create(parent);
    ASSERT_NE(nullptr, window);
    XWindowAttributes ignored;
    XGetWindowAttributes(display, 0x1FFFFFF0, &ignored);
    XSync(display, False);
    EXPECT_EQ(1, countedErrors);
    DestroyWindow(window);
}

TEST_F(X11Hosting, AParentDestroyedFirstLeavesAWindowThatStillGoesQuietly) {
    HWND window = create(parent);
    ASSERT_NE(nullptr, window);
    pump();
    XDestroyWindow(display, parent);
    XSync(display, False);
    pump();  // DestroyNotify read; further drawing is not sent
    ReleaseDC(window, GetDC(window));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(win32subset::builtInX11Backend().connected());
    EXPECT_EQ(0, countedErrors);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);  // for TearDown
}

}  // namespace
