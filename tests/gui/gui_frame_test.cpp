// The frame: its child window and window class, painting and idle passes,
// click dispatch, modal and focus views, and what deletion releases.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/plugin_entry.h"
#include "gui/frame_window_class.h"
#include "gui/gui_frame.h"
#include "gui_test_support.h"
#include "recording_view.h"

namespace {

class GuiFrameTest : public ::testing::Test {
protected:
    void SetUp() override { useTestModuleHandle(); }

    // Can a window of the frames' class be made right now?
    bool frameClassRegistered() {
        HWND probe = CreateWindowExA(0, FrameWindowClass::name(), "probe", 0x40000000u /* WS_CHILD */, 0, 0, 1, 1,
                                     host.handle(), nullptr, static_cast<HINSTANCE>(moduleHandle), nullptr);
        if (probe == nullptr) return false;
        DestroyWindow(probe);
        return true;
    }

    // Paints the frame's window as Windows would after it was exposed.
    static void paint(GuiFrame& frame) {
        InvalidateRect(frame.getWindowHandle(), nullptr, FALSE);
        UpdateWindow(frame.getWindowHandle());
    }

    // A click as the window procedure receives it.
    static void sendButton(GuiFrame& frame, UINT message, int x, int y) {
        LPARAM position = static_cast<LPARAM>((static_cast<unsigned>(y) << 16) | static_cast<unsigned>(x));
        GuiFrame::windowProc(frame.getWindowHandle(), message, 0, position);
    }

    HostWindow host;
    EventLog log;
};

TEST(FrameWindowClassTest, NameIsPluginAndTheModuleHandleInHex) {
    void* saved = moduleHandle;
    moduleHandle = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x00ab12f0u));
    EXPECT_STREQ(FrameWindowClass::name(), "Plugin00ab12f0");
    moduleHandle = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x10000000u));
    EXPECT_STREQ(FrameWindowClass::name(), "Plugin10000000");
    moduleHandle = saved;
}

TEST_F(GuiFrameTest, NullParentMakesNoWindowButTakesAndDeletesViews) {
    const int usersBefore = FrameWindowClass::useCount();
    GuiFrame* frame = new GuiFrame(GuiRect(0, 0, 100, 80), nullptr, nullptr);
    EXPECT_EQ(frame->getWindowHandle(), nullptr);
    EXPECT_EQ(FrameWindowClass::useCount(), usersBefore);
    EXPECT_FALSE(frameClassRegistered());
    RecordingView* view = new RecordingView(GuiRect(0, 0, 10, 10), "a", log);
    EXPECT_TRUE(frame->addView(view));
    EXPECT_EQ(view->getParent(), frame);
    frame->idle();
    frame->drawView(nullptr);
    EXPECT_TRUE(log.events.empty());
    delete frame;
    EXPECT_EQ(log.events, std::vector<std::string>{"delete a"});
    EXPECT_EQ(FrameWindowClass::useCount(), usersBefore);
}

TEST_F(GuiFrameTest, ChildWindowCoversTheFrameSizeAtTheHostsOrigin) {
    GuiFrame frame(GuiRect(0, 0, 120, 90), host.handle(), nullptr);
    ASSERT_NE(frame.getWindowHandle(), nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(frame.getWindowHandle(), &client));
    EXPECT_EQ(client.right - client.left, 120);
    EXPECT_EQ(client.bottom - client.top, 90);
    POINT origin;
    origin.x = 0;
    origin.y = 0;
    MapWindowPoints(frame.getWindowHandle(), host.handle(), &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(reinterpret_cast<GuiFrame*>(GetWindowLongPtrA(frame.getWindowHandle(), -21)), &frame);
}

TEST_F(GuiFrameTest, TwoFramesShareOneClassUntilTheSecondIsDeleted) {
    ASSERT_FALSE(frameClassRegistered());
    GuiFrame* first = new GuiFrame(GuiRect(0, 0, 50, 50), host.handle(), nullptr);
    EXPECT_EQ(FrameWindowClass::useCount(), 1);
    EXPECT_TRUE(frameClassRegistered());
    GuiFrame* second = new GuiFrame(GuiRect(0, 0, 50, 50), host.handle(), nullptr);
    EXPECT_EQ(FrameWindowClass::useCount(), 2);
    ASSERT_NE(second->getWindowHandle(), nullptr);
    delete first;
    EXPECT_TRUE(frameClassRegistered());
    delete second;
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    EXPECT_FALSE(frameClassRegistered());
}

TEST_F(GuiFrameTest, IdleDoesNothingBeforeTheFirstPaint) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    frame.addView(new RecordingView(GuiRect(0, 0, 10, 10), "a", log));
    frame.addView(new RecordingView(GuiRect(20, 0, 30, 10), "b", log));
    EXPECT_TRUE(frame.isFirstDrawPending());
    frame.idle();
    EXPECT_TRUE(log.events.empty());

    paint(frame);
    EXPECT_FALSE(frame.isFirstDrawPending());
    EXPECT_EQ(log.events, (std::vector<std::string>{"draw a", "draw b"}));

    log.events.clear();
    frame.idle();
    EXPECT_EQ(log.events, (std::vector<std::string>{"update a", "update b"}));
}

TEST_F(GuiFrameTest, DrawViewDrawsOneListedViewOrTheWholeFrame) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    RecordingView* a = new RecordingView(GuiRect(0, 0, 10, 10), "a", log);
    frame.addView(a);
    frame.addView(new RecordingView(GuiRect(0, 0, 10, 10), "b", log));
    frame.drawView(a);
    EXPECT_EQ(log.events, std::vector<std::string>{"draw a"});
    log.events.clear();
    RecordingView stranger(GuiRect(0, 0, 10, 10), "stranger", log);
    frame.drawView(&stranger);
    frame.drawView(nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"draw a", "draw b", "draw a", "draw b"}));
    log.events.clear();
    a->redraw();
    EXPECT_EQ(log.events, std::vector<std::string>{"draw a"});
}

// Two overlapping views: the later one lies on top for clicks, and all four
// edges of a view belong to it.
TEST_F(GuiFrameTest, ClicksGoToTheTopmostViewContainingThePoint) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), nullptr, nullptr);
    frame.addView(new RecordingView(GuiRect(10, 10, 30, 30), "lower", log));
    frame.addView(new RecordingView(GuiRect(20, 20, 40, 40), "upper", log));
    struct Case {
        GuiPoint where;
        const char* receiver;
    } cases[] = {
        {{25, 25}, "upper"}, {{40, 40}, "upper"}, {{40, 20}, "upper"}, {{15, 15}, "lower"}, {{30, 10}, "lower"},
        {{10, 30}, "lower"}, {{19, 30}, "lower"}, {{41, 41}, nullptr}, {{31, 15}, nullptr}, {{0, 0}, nullptr},
    };
    DrawContext context(&frame, nullptr, nullptr);
    for (const Case& c : cases) {
        log.events.clear();
        GuiPoint where = c.where;
        frame.mouseDown(context, where);
        std::vector<std::string> expected;
        if (c.receiver != nullptr) expected.push_back(std::string("click ") + c.receiver);
        EXPECT_EQ(log.events, expected) << "click at (" << c.where.h << "," << c.where.v << ")";
    }
}

TEST_F(GuiFrameTest, WindowProcedureHandsBothButtonsToTheFrame) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    RecordingView* view = new RecordingView(GuiRect(10, 10, 60, 60), "a", log);
    frame.addView(view);
    sendButton(frame, WM_LBUTTONDOWN, 25, 40);
    EXPECT_EQ(view->lastClick.h, 25);
    EXPECT_EQ(view->lastClick.v, 40);
    sendButton(frame, WM_RBUTTONDOWN, 60, 11);
    EXPECT_EQ(view->lastClick.h, 60);
    EXPECT_EQ(view->lastClick.v, 11);
    sendButton(frame, 0x0207 /* WM_MBUTTONDOWN */, 30, 30);
    EXPECT_EQ(log.count("click a"), 2);
    // The second press of a double-click: a view with no use for it takes it as a click.
    sendButton(frame, WM_LBUTTONDBLCLK, 30, 30);
    EXPECT_EQ(log.count("click a"), 3);
}

TEST_F(GuiFrameTest, ModalViewTakesClicksAndUpdatesAndIsDrawnLast) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), nullptr, nullptr);
    RecordingView* modal = new RecordingView(GuiRect(0, 0, 20, 20), "modal", log);
    RecordingView* other = new RecordingView(GuiRect(30, 30, 50, 50), "other", log);
    frame.addView(modal);
    frame.addView(other);
    EXPECT_TRUE(frame.setModalView(modal));
    EXPECT_FALSE(frame.setModalView(other));
    EXPECT_FALSE(frame.setModalView(modal));
    EXPECT_EQ(frame.getModalView(), modal);

    DrawContext context(&frame, nullptr, nullptr);
    GuiPoint onOther(40, 40), onModal(5, 5);
    frame.mouseDown(context, onOther);
    EXPECT_TRUE(log.events.empty());
    frame.mouseDown(context, onModal);
    frame.update(context);
    frame.draw(context);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"click modal", "update modal", "draw modal", "draw other", "draw modal"}));

    EXPECT_TRUE(frame.setModalView(nullptr));
    log.events.clear();
    frame.mouseDown(context, onOther);
    frame.update(context);
    EXPECT_EQ(log.events, (std::vector<std::string>{"click other", "update modal", "update other"}));
}

TEST_F(GuiFrameTest, ClickOutsideTheFocusViewTakesTheFocusAway) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), nullptr, nullptr);
    RecordingView* focus = new RecordingView(GuiRect(0, 0, 20, 20), "focus", log);
    frame.addView(focus);
    frame.setFocusView(focus);
    DrawContext context(&frame, nullptr, nullptr);
    GuiPoint inside(20, 20), outside(21, 20);
    frame.mouseDown(context, inside);
    EXPECT_EQ(frame.getFocusView(), focus);
    frame.mouseDown(context, outside);
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"click focus", "loseFocus focus"}));
}

TEST_F(GuiFrameTest, RemoveViewKeepsTheOrderAndNeitherDeletesNorUnparents) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), nullptr, nullptr);
    RecordingView* a = new RecordingView(GuiRect(0, 0, 1, 1), "a", log);
    RecordingView* b = new RecordingView(GuiRect(0, 0, 1, 1), "b", log);
    RecordingView* c = new RecordingView(GuiRect(0, 0, 1, 1), "c", log);
    frame.addView(a);
    frame.addView(b);
    frame.addView(c);
    RecordingView stranger(GuiRect(0, 0, 1, 1), "stranger", log);
    EXPECT_FALSE(frame.removeView(&stranger));
    EXPECT_FALSE(frame.removeView(nullptr));
    EXPECT_EQ(frame.getViewCount(), 3);

    EXPECT_TRUE(frame.removeView(b));
    EXPECT_EQ(frame.getViewCount(), 2);
    EXPECT_EQ(frame.getView(0), a);
    EXPECT_EQ(frame.getView(1), c);
    EXPECT_EQ(b->getParent(), &frame);
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(frame.removeView(b));
    delete b;
}

TEST_F(GuiFrameTest, ViewListGrowsPastItsSteps) {
    GuiFrame frame(GuiRect(0, 0, 100, 100), nullptr, nullptr);
    for (int i = 0; i < 111; ++i) ASSERT_TRUE(frame.addView(new GuiView(GuiRect(i, 0, i + 1, 1))));
    EXPECT_EQ(frame.getViewCount(), 111);
    EXPECT_EQ(frame.getView(110)->getSize().left, 110);
}

TEST_F(GuiFrameTest, FrameHoldsOneReferenceToItsBackgroundAndDrawsItFirst) {
    GuiCanvas canvas(host, 30, 30, colorBlue);
    GuiBitmap* image = new GuiBitmap(makeColorBitmap(host, 16, 8, [](int, int) { return colorYellow; }));
    GuiBitmap* other = new GuiBitmap(makeColorBitmap(host, 4, 4, [](int, int) { return colorGreen; }));
    GuiFrame* frame = new GuiFrame(GuiRect(0, 0, 30, 30), nullptr, nullptr);
    frame->setBackground(image);
    EXPECT_EQ(image->getReferenceCount(), 2);
    frame->setBackground(image);
    EXPECT_EQ(image->getReferenceCount(), 2);
    EXPECT_EQ(frame->getBackground(), image);
    {
        DrawContext context(frame, canvas.dc(), nullptr);
        frame->draw(context);
    }
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int x, int y) { return x < 16 && y < 8 ? colorYellow : colorBlue; }, "frame_background"));

    frame->setBackground(other);
    EXPECT_EQ(image->getReferenceCount(), 1);
    EXPECT_EQ(other->getReferenceCount(), 2);
    image->release();

    // Held by the frame alone, the background survives being set again.
    other->release();
    HBITMAP otherImage = other->getHandle();
    frame->setBackground(other);
    BITMAP description;
    EXPECT_NE(GetObjectA(otherImage, sizeof(description), &description), 0) << "the image was deleted";
    EXPECT_EQ(other->getReferenceCount(), 1);
    other->addRef();
    delete frame;
    EXPECT_EQ(other->getReferenceCount(), 1);
    other->release();
}

TEST_F(GuiFrameTest, DeletionTakesFocusAwayThenDeletesViewsInOrder) {
    GuiFrame* frame = new GuiFrame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    RecordingView* a = new RecordingView(GuiRect(0, 0, 1, 1), "a", log);
    RecordingView* b = new RecordingView(GuiRect(0, 0, 1, 1), "b", log);
    frame->addView(a);
    frame->addView(b);
    frame->setFocusView(b);
    frame->setModalView(a);
    HWND window = frame->getWindowHandle();
    delete frame;
    EXPECT_EQ(log.events, (std::vector<std::string>{"loseFocus b", "delete a", "delete b"}));
    EXPECT_EQ(GetWindowLongPtrA(window, -21), 0);  // the window is gone
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
}

TEST_F(GuiFrameTest, AfterTheWindowIsDestroyedIdleAndUpdateDoNothing) {
    GuiFrame* frame = new GuiFrame(GuiRect(0, 0, 100, 100), host.handle(), nullptr);
    frame->addView(new RecordingView(GuiRect(0, 0, 10, 10), "a", log));
    GuiBitmap* background = new GuiBitmap(makeColorBitmap(host, 4, 4, [](int, int) { return colorGreen; }));
    frame->setBackground(background);
    paint(*frame);
    ASSERT_TRUE(frame->isOpen());

    host.destroy();  // the host closes its window, and with it the frame's
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    log.events.clear();
    frame->idle();
    DrawContext context(frame, nullptr, nullptr);
    frame->update(context);
    frame->drawView(nullptr);
    EXPECT_TRUE(log.events.empty());

    delete frame;
    EXPECT_EQ(log.events, std::vector<std::string>{"delete a"});
    EXPECT_EQ(background->getReferenceCount(), 1);
    EXPECT_EQ(FrameWindowClass::useCount(), 0);
    background->release();
}

}  // namespace
