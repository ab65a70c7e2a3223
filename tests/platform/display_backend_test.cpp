// The seam for a window system: it hears when drawing into a window ends and
// may feed events in as messages. Our own subset only.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <vector>

#include "platform/display/display_backend.h"
#include "platform/win32.h"

namespace {

class RecordingBackend : public win32subset::DisplayBackend {
public:
    void surfaceUpdated(HWND topLevel, const win32subset::Surface& surface) override {
        updated.push_back(topLevel);
        lastWidth = surface.width;
    }
    void pollEvents() override {
        ++polls;
        if (clickTarget != nullptr)
            win32subset::postWindowMessage(clickTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
        clickTarget = nullptr;
    }

    std::vector<HWND> updated;
    int lastWidth = 0;
    int polls = 0;
    HWND clickTarget = nullptr;
};

TEST(DisplayBackend, HearsOfEveryEndOfDrawingAndFeedsEventsIn) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "BackendTestWindow";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    HWND top = CreateWindowExA(0, "BackendTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                               nullptr, nullptr);
    HWND child = CreateWindowExA(0, "BackendTestWindow", "", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, top, nullptr, nullptr,
                                 nullptr);
    RecordingBackend backend;
    win32subset::setDisplayBackend(&backend);

    ReleaseDC(child, GetDC(child));
    ASSERT_EQ(1u, backend.updated.size());
    EXPECT_EQ(top, backend.updated[0]);  // the child's pixels live in its top-level window
    EXPECT_EQ(40, backend.lastWidth);

    backend.clickTarget = child;
    MSG message;
    int paints = 0;
    bool clicked = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        paints += message.message == WM_PAINT;
        clicked = clicked || (message.message == WM_LBUTTONDOWN && message.hwnd == child);
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(clicked);
    EXPECT_EQ(2, paints);                   // both windows were new
    EXPECT_EQ(3u, backend.updated.size());  // each paint ended with EndPaint
    EXPECT_GE(backend.polls, 4);

    win32subset::setDisplayBackend(nullptr);
    DestroyWindow(top);
    UnregisterClassA("BackendTestWindow", nullptr);
}

}  // namespace

#endif
