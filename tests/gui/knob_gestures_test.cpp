// The knob's wheel and double-click, as the frame's window receives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "knob_in_frame.h"

namespace {

constexpr int kLeft = KnobInFrame::kLeft;
constexpr int kTop = KnobInFrame::kTop;

class KnobGesturesTest : public ::testing::Test, protected KnobInFrame {
protected:
    void showValue(float value) {
        knob->setValue(value);
        knob->setLastDrawnValue(value);
        listener.values.clear();
        listener.events.clear();
    }
    // One notch (or several) at a frame point; WM_MOUSEWHEEL carries the screen position.
    LRESULT wheel(int notches, WPARAM keys, int h = kLeft + 12, int v = kTop + 12) {
        POINT screen{h, v};
        MapWindowPoints(frame->getWindowHandle(), nullptr, &screen, 1);
        const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
        return GuiFrame::windowProc(frame->getWindowHandle(), WM_MOUSEWHEEL, static_cast<WPARAM>(MAKELONG(keys, delta)),
                                    MAKELPARAM(screen.x, screen.y));
    }
    void doubleClick(int h, int v) {
        GuiFrame::windowProc(frame->getWindowHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(h, v));
    }
};

TEST_F(KnobGesturesTest, EachWheelNotchTurnsTheKnobByOnePercentOrATenthOfThatWithShift) {
    struct Case {
        float before;
        int notches;
        WPARAM keys;
        float after;
    } cases[] = {
        {0.5f, 1, 0, 0.51f},          {0.5f, -1, 0, 0.49f},         {0.5f, 3, 0, 0.53f},  {0.5f, 1, MK_SHIFT, 0.501f},
        {0.5f, -2, MK_SHIFT, 0.498f}, {0.5f, 1, MK_CONTROL, 0.51f}, {0.995f, 1, 0, 1.0f}, {0.004f, -1, 0, 0.0f},
    };
    for (const Case& c : cases) {
        showValue(c.before);
        EXPECT_EQ(wheel(c.notches, c.keys), 0) << "the frame takes the wheel, its parent never sees it";
        const std::string where = std::to_string(c.before) + " by " + std::to_string(c.notches);
        EXPECT_NEAR(knob->getValue(), c.after, 1e-6) << where;
        ASSERT_EQ(listener.values.size(), 1u) << where;
        EXPECT_EQ(listener.values[0], knob->getValue()) << where;
        EXPECT_EQ(listener.events, (std::vector<std::string>{"begin", "end"})) << where;
    }
    // At the end of the range a notch changes nothing and reports nothing, inside one gesture.
    showValue(1.0f);
    wheel(1, 0);
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(listener.values.empty());
    // Off the knob the wheel turns nothing.
    showValue(0.5f);
    wheel(1, 0, kLeft + 60, kTop + 12);
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(KnobGesturesTest, DoubleClickReturnsToTheListenersStoredValueInOneGesture) {
    listener.hasRestoredValue = true;
    listener.restoredValue = 0.3f;
    showValue(0.8f);
    doubleClick(kLeft + 12, kTop + 12);
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(listener.values, std::vector<float>{0.3f});
    EXPECT_EQ(listener.events, (std::vector<std::string>{"begin", "end"}));

    // Without a stored value, or with the mouse disabled, nothing changes.
    for (const bool stored : {false, true}) {
        listener.hasRestoredValue = stored;
        knob->setMouseEnabled(!stored);
        showValue(0.8f);
        doubleClick(kLeft + 12, kTop + 12);
        EXPECT_EQ(knob->getValue(), 0.8f) << "stored " << stored;
        EXPECT_TRUE(listener.events.empty()) << "stored " << stored;
    }
}

}  // namespace
