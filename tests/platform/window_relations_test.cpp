// Finding a window's children (GetWindow) and messages sent or posted to a
// window by handle, as a host does to reach the editor's window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32.h"

namespace {

constexpr UINT kProbeMessage = WM_LBUTTONDOWN;

struct Received {
    HWND window;
    UINT message;
    LPARAM lParam;
};

std::vector<Received>& received() {
    static std::vector<Received> log;
    return log;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) {
        received().push_back({window, message, lParam});
        return 7;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HINSTANCE testInstance() {
#if defined(_WIN32)
    return GetModuleHandleA(nullptr);
#else
    return nullptr;
#endif
}

class WindowRelations : public ::testing::Test {
protected:
    void SetUp() override {
        received().clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hInstance = testInstance();
        windowClass.lpszClassName = "RoomplateRelationsTest";
        ASSERT_NE(0, RegisterClassA(&windowClass));
        host = CreateWindowExA(0, "RoomplateRelationsTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 40, nullptr, nullptr,
                               testInstance(), nullptr);
        ASSERT_NE(nullptr, host);
    }
    void TearDown() override {
        DestroyWindow(host);
        UnregisterClassA("RoomplateRelationsTest", testInstance());
    }
    HWND child(int x) {
        return CreateWindowExA(0, "RoomplateRelationsTest", "", WS_CHILD | WS_VISIBLE, x, 0, 10, 10, host, nullptr,
                               testInstance(), nullptr);
    }
    void pump() {
        MSG message;
        for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
    }

    HWND host = nullptr;
};

TEST_F(WindowRelations, ChildrenComeInZOrderTheFirstOnTop) {
    EXPECT_EQ(nullptr, GetWindow(host, GW_CHILD));
    HWND first = child(0);
    HWND second = child(20);
    ASSERT_NE(nullptr, second);
    // A new child goes below its siblings.
    EXPECT_EQ(first, GetWindow(host, GW_CHILD));
    EXPECT_EQ(second, GetWindow(first, GW_HWNDNEXT));
    EXPECT_EQ(nullptr, GetWindow(second, GW_HWNDNEXT));
    EXPECT_EQ(nullptr, GetWindow(first, GW_CHILD));
    DestroyWindow(first);
    EXPECT_EQ(second, GetWindow(host, GW_CHILD));
}

TEST_F(WindowRelations, SentMessagesArriveAtOncePostedOnesWhenPumped) {
    HWND editor = child(5);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(7, SendMessageA(editor, kProbeMessage, MK_LBUTTON, MAKELPARAM(3, 4)));
    ASSERT_EQ(1u, received().size());
    EXPECT_EQ(editor, received()[0].window);

    EXPECT_TRUE(PostMessageA(editor, kProbeMessage, MK_LBUTTON, MAKELPARAM(8, 9)));
    EXPECT_EQ(1u, received().size());  // not before the queue is pumped
    pump();
    ASSERT_EQ(2u, received().size());
    EXPECT_EQ(8, LOWORD(received()[1].lParam));
    EXPECT_EQ(9, HIWORD(received()[1].lParam));

    DestroyWindow(editor);
    EXPECT_FALSE(PostMessageA(editor, kProbeMessage, 0, 0));  // a stale handle
}

}  // namespace
