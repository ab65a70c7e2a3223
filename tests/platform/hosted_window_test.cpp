// Windows whose parent is a native window (none of ours): the display
// backend is asked to show them, and then it owns their pixels, their
// screen position and the live input. Our own subset only.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <vector>

#include "platform/display/display_backend.h"
#include "platform/display/shown_surface.h"
#include "platform/hosted_windows.h"
#include "platform/win32.h"
#include "platform/win32_testing.h"

namespace {

// A native window id no table of ours hands out (our handles end in a tag).
HWND const kNativeParent = reinterpret_cast<HWND>(0x400000);

class NativeSystem : public win32subset::DisplayBackend {
public:
    void surfaceUpdated(HWND window, const win32subset::Surface&) override { shown.push_back(window); }
    void pollEvents() override {
        ++polls;
        if (clickTarget != nullptr)
            win32subset::postWindowMessage(clickTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 7));
        clickTarget = nullptr;
    }
    bool attachWindow(HWND window, HWND nativeParent, const RECT& frame) override {
        if (nativeParent != kNativeParent) return false;
        attached.push_back(window);
        attachedFrame = frame;
        return true;
    }
    void detachWindow(HWND window) override { detached.push_back(window); }
    bool screenOrigin(HWND, POINT* origin) override {
        *origin = {300, 200};
        return true;
    }
    bool cursorPosition(POINT* position) override {
        *position = {310, 205};
        return true;
    }
    bool keyState(int virtualKey, bool* down) override {
        *down = virtualKey == VK_LBUTTON;
        return true;
    }

    std::vector<HWND> attached, detached, shown;
    RECT attachedFrame{};
    int polls = 0;
    HWND clickTarget = nullptr;
};

struct Log {
    std::vector<UINT> messages;
    bool destroyedBeforeDetach = false;
    NativeSystem* system = nullptr;
    int clicks = 0;
    bool insideClick = false;
    bool dispatchedInsideClick = false;
};

Log& log() {
    static Log state;
    return state;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    log().messages.push_back(message);
    log().dispatchedInsideClick = log().dispatchedInsideClick || log().insideClick;
    if (message == WM_DESTROY) log().destroyedBeforeDetach = log().system->detached.empty();
    if (message == WM_LBUTTONDOWN && log().clicks++ == 0) {
        // As a drag loop's idle pass: a second click arrives meanwhile.
        log().insideClick = true;
        log().system->clickTarget = window;
        win32subset::dispatchHostedWindowMessages();
        log().insideClick = false;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class HostedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        log() = Log();
        log().system = &system;
        win32subset::setDisplayBackend(&system);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.lpszClassName = "RoomplateHostedTest";
        ASSERT_NE(0, RegisterClassA(&windowClass));
    }
    void TearDown() override {
        win32subset::setDisplayBackend(nullptr);
        win32testing::clearInputScript();
        UnregisterClassA("RoomplateHostedTest", nullptr);
    }
    HWND create(HWND parent) {
        return CreateWindowExA(0, "RoomplateHostedTest", "Window", WS_CHILD | WS_VISIBLE, 4, 2, 20, 10, parent, nullptr,
                               nullptr, nullptr);
    }

    NativeSystem system;
};

TEST_F(HostedWindow, LivesInTheNativeParentUntilDestroyed) {
    EXPECT_EQ(nullptr, create(reinterpret_cast<HWND>(0x500000)));  // refused by the backend: no window
    HWND window = create(kNativeParent);
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(1u, system.attached.size());
    EXPECT_EQ(window, system.attached[0]);
    EXPECT_EQ(4, system.attachedFrame.left);
    EXPECT_EQ(12, system.attachedFrame.bottom);

    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(20, client.right);
    POINT origin{0, 0};
    MapWindowPoints(window, nullptr, &origin, 1);
    EXPECT_EQ(300, origin.x);  // where the native system shows it
    EXPECT_EQ(200, origin.y);

    ReleaseDC(window, GetDC(window));
    ASSERT_EQ(1u, system.shown.size());
    EXPECT_EQ(window, system.shown[0]);  // its own pixels, not a parent's

    DestroyWindow(window);
    ASSERT_EQ(1u, system.detached.size());
    EXPECT_EQ(window, system.detached[0]);
    EXPECT_TRUE(log().destroyedBeforeDetach);
}

TEST_F(HostedWindow, TheNativeInputAnswersUnlessATestScriptsIt) {
    HWND window = create(kNativeParent);
    ASSERT_NE(nullptr, window);
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    EXPECT_EQ(310, cursor.x);
    EXPECT_NE(0, GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_EQ(0, GetAsyncKeyState(VK_SHIFT) & 0x8000);

    win32testing::scriptInput({{1, 2, 0, 0}, {3, 4, 0, 0}});
    GetCursorPos(&cursor);
    EXPECT_EQ(3, cursor.x);
    EXPECT_EQ(0, GetAsyncKeyState(VK_LBUTTON));
    DestroyWindow(window);
}

TEST_F(HostedWindow, IdleDispatchesOnlyHostedWindowsAndNothingInsideAProcedure) {
    win32subset::dispatchHostedWindowMessages();
    EXPECT_EQ(0, system.polls) << "without hosted windows idle does nothing";

    HWND inMemoryHost = CreateWindowExA(0, "RoomplateHostedTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 30, 30, nullptr,
                                        nullptr, nullptr, nullptr);
    HWND window = create(kNativeParent);
    ASSERT_NE(nullptr, window);
    system.clickTarget = window;
    win32subset::dispatchHostedWindowMessages();
    // Posted clicks before the paint, as on Windows; the click that came
    // during the first one waited for it to return.
    const std::vector<UINT> expected{WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_PAINT, WM_ERASEBKGND};
    EXPECT_EQ(expected, log().messages);
    EXPECT_FALSE(log().dispatchedInsideClick);
    EXPECT_TRUE(GetUpdateRect(inMemoryHost, nullptr, FALSE)) << "a window in memory waits for its own pump";

    DestroyWindow(window);
    DestroyWindow(inMemoryHost);
}

TEST(ShownSurface, SendsTheBoundsOfWhatChangedAndWhatWasExposed) {
    win32subset::Surface surface(8, 6, false);
    win32subset::ShownSurface shown;
    RECT area = shown.takeChanges(surface);
    EXPECT_EQ(8, area.right);  // first time: all of it
    EXPECT_EQ(6, area.bottom);
    area = shown.takeChanges(surface);
    EXPECT_TRUE(area.right <= area.left) << "nothing changed";

    surface.at(2, 1) = 0x123456;
    surface.at(5, 3) = 0x654321;
    area = shown.takeChanges(surface);
    EXPECT_EQ(2, area.left);
    EXPECT_EQ(1, area.top);
    EXPECT_EQ(6, area.right);
    EXPECT_EQ(4, area.bottom);

    shown.expose({0, 5, 3, 6});
    surface.at(7, 0) = 1;
    area = shown.takeChanges(surface);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(0, area.top);
    EXPECT_EQ(8, area.right);
    EXPECT_EQ(6, area.bottom);
    area = shown.takeChanges(surface);
    EXPECT_TRUE(area.bottom <= area.top) << "exposures are sent once";
}

}  // namespace

#endif
