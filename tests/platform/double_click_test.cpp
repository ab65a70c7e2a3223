// A native window system's left presses as Windows would send them: the
// second within 500 ms and 2 pixels of the first, in a window whose class
// asks for it, is a double-click. Our own subset only (Windows does this itself).
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32.h"
#include "platform/windows/double_click_tracker.h"

namespace {

using win32subset::DoubleClickTracker;

HWND makeWindow(const char* className, UINT style) {
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.style = style;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(DoubleClick, TheSecondPressSoonAndCloseIsADoubleClickWhereTheClassAsksForIt) {
    HWND taking = makeWindow("RoomplateTakesDoubleClicks", CS_DBLCLKS);
    HWND other = makeWindow("RoomplateTakesNoDoubleClicks", 0);
    ASSERT_NE(taking, nullptr);
    ASSERT_NE(other, nullptr);

    struct Press {
        HWND window;
        int x, y;
        unsigned long timeMs;
        UINT expected;
    } presses[] = {
        {taking, 10, 10, 1000, WM_LBUTTONDOWN},       {taking, 12, 8, 1500, WM_LBUTTONDBLCLK},  // 500 ms, 2 pixels
        {taking, 12, 8, 1600, WM_LBUTTONDOWN},  // after a double-click a press starts over
        {taking, 12, 8, 2101, WM_LBUTTONDOWN},  // 501 ms: too late
        {taking, 15, 8, 2200, WM_LBUTTONDOWN},  // 3 pixels away
        {other, 15, 8, 2250, WM_LBUTTONDOWN},   // another window
        {other, 15, 8, 2300, WM_LBUTTONDOWN},   // whose class takes no double-clicks
        {taking, 50, 50, 0xFFFFFF00, WM_LBUTTONDOWN}, {taking, 50, 50, 0x40, WM_LBUTTONDBLCLK},  // the clock wraps
    };
    DoubleClickTracker tracker;
    for (const Press& p : presses)
        EXPECT_EQ(tracker.leftPress(p.window, p.x, p.y, p.timeMs), p.expected) << "press at " << p.timeMs;

    // What another copy of the layer passes on: a window that takes none gets a plain press.
    EXPECT_EQ(DoubleClickTracker::asWindowTakesIt(taking, WM_LBUTTONDBLCLK), static_cast<UINT>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(DoubleClickTracker::asWindowTakesIt(other, WM_LBUTTONDBLCLK), static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(DoubleClickTracker::asWindowTakesIt(other, WM_MOUSEWHEEL), static_cast<UINT>(WM_MOUSEWHEEL));
    DestroyWindow(taking);
    DestroyWindow(other);
    UnregisterClassA("RoomplateTakesDoubleClicks", nullptr);
    UnregisterClassA("RoomplateTakesNoDoubleClicks", nullptr);
}

}  // namespace

#endif
