// Scripted cursor, buttons, keys and tick count: our own subset only (real
// Windows reads the hardware and its own clock).
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "platform/win32_testing.h"

namespace {

using win32testing::heldAlt;
using win32testing::heldControl;
using win32testing::heldLeft;
using win32testing::heldMiddle;
using win32testing::heldRight;
using win32testing::heldShift;
using win32testing::InputStep;

bool isDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

class ScriptedInput : public ::testing::Test {
protected:
    void TearDown() override {
        win32testing::clearInputScript();
        win32testing::useRealClock();
    }
};

TEST_F(ScriptedInput, WithoutAScriptNothingIsHeldAndTheCursorRestsAtTheOrigin) {
    POINT cursor{5, 5};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(0, cursor.x);
    EXPECT_EQ(0, cursor.y);
    for (int key : {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU}) EXPECT_FALSE(isDown(key));
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST_F(ScriptedInput, EachCursorPollMovesToTheNextStepAndTheKeysReadTheCurrentOne) {
    win32testing::scriptInput({
        {10, 20, heldLeft | heldAlt, 0},  // the click
        {11, 21, heldLeft, 0},
        {12, 22, heldShift | heldControl | heldMiddle | heldRight, 0},
    });
    EXPECT_TRUE(isDown(VK_LBUTTON));
    EXPECT_TRUE(isDown(VK_MENU));
    EXPECT_FALSE(isDown(VK_SHIFT));

    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(11, cursor.x);
    EXPECT_EQ(21, cursor.y);
    EXPECT_TRUE(isDown(VK_LBUTTON));
    EXPECT_FALSE(isDown(VK_MENU));

    GetCursorPos(&cursor);
    EXPECT_EQ(12, cursor.x);
    EXPECT_FALSE(isDown(VK_LBUTTON));
    for (int key : {VK_MBUTTON, VK_RBUTTON, VK_SHIFT, VK_CONTROL}) EXPECT_TRUE(isDown(key)) << key;

    // Past the end: released where the last step left the cursor.
    GetCursorPos(&cursor);
    EXPECT_EQ(12, cursor.x);
    EXPECT_EQ(22, cursor.y);
    for (int key : {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU}) EXPECT_FALSE(isDown(key));
    EXPECT_EQ(3, win32testing::cursorPollCount());
}

TEST_F(ScriptedInput, AFrozenClockMovesOnlyWhenTold) {
    win32testing::setTickCount(1000);
    EXPECT_EQ(1000u, GetTickCount());
    EXPECT_EQ(1000u, GetTickCount());
    win32testing::advanceTickCount(30);
    EXPECT_EQ(1030u, GetTickCount());
    win32testing::setTickCount(0xFFFFFFF0u);
    win32testing::advanceTickCount(0x20);
    EXPECT_EQ(0x10u, GetTickCount());  // wraps like the real 32-bit count

    // Steps may carry the time that passes until they are reached.
    win32testing::setTickCount(500);
    win32testing::scriptInput({{0, 0, heldLeft, 5}, {0, 0, heldLeft, 40}, {0, 0, 0, 20}});
    EXPECT_EQ(505u, GetTickCount());
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(545u, GetTickCount());
    GetCursorPos(&cursor);
    EXPECT_EQ(565u, GetTickCount());
}

TEST_F(ScriptedInput, TheRealClockRuns) {
    win32testing::useRealClock();
    const DWORD start = GetTickCount();
    DWORD now = start;
    for (long i = 0; i < 200000000L && now == start; ++i) now = GetTickCount();
    EXPECT_NE(start, now);
    EXPECT_LT(now - start, 1000u);
}

TEST_F(ScriptedInput, APostedClickArrivesWithItsPointButtonAndTime) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "ScriptedInputWindow";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, "ScriptedInputWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);  // hidden: no WM_PAINT in the way
    ASSERT_NE(nullptr, window);
    win32testing::setTickCount(777);
    ASSERT_TRUE(win32testing::postClick(window, WM_RBUTTONDOWN, 300, 7));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(window, message.hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), message.message);
    EXPECT_EQ(static_cast<WPARAM>(MK_RBUTTON), message.wParam);
    EXPECT_EQ(300, LOWORD(message.lParam));
    EXPECT_EQ(7, HIWORD(message.lParam));
    EXPECT_EQ(777u, message.time);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    DestroyWindow(window);
    EXPECT_FALSE(win32testing::postClick(window, WM_LBUTTONDOWN, 1, 1));
    EXPECT_TRUE(UnregisterClassA("ScriptedInputWindow", nullptr));
}

}  // namespace

#endif
