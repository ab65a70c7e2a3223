// The two-state switch: which half of its image it shows, and what a click makes of its value.
#include <gtest/gtest.h>

#include <limits>

#include "gui/toggle_button.h"
#include "gui_test_support.h"
#include "recording_listener.h"

namespace {

// 16 x 32: the off state blue on top, the on state yellow below.
GuiColor twoStates(int, int y) { return y < 16 ? colorBlue : colorYellow; }

class ToggleButtonTest : public ::testing::Test {
protected:
    GuiColor drawnState(ToggleButton& toggle) {
        canvas.clear(colorBlack);
        DrawContext context(nullptr, canvas.dc(), nullptr);
        toggle.draw(context);
        return canvas.pixel(10, 10);
    }

    HostWindow host;
    GuiCanvas canvas{host, 30, 30, colorBlack};
    RecordingListener listener;
};

TEST_F(ToggleButtonTest, AnyValueButZeroShowsTheLowerHalf) {
    GuiBitmap* image = new GuiBitmap(makeColorBitmap(host, 16, 32, twoStates));
    ToggleButton toggle(GuiRect(4, 4, 20, 20), &listener, 53, image);
    image->release();
    struct Case {
        float value;
        GuiColor shown;
    } cases[] = {{0.0f, colorBlue}, {-0.0f, colorBlue}, {0.3f, colorYellow}, {1.0f, colorYellow}, {-2.0f, colorYellow}};
    for (const Case& c : cases) {
        toggle.setValue(c.value);
        EXPECT_PRED2(sameColor, drawnState(toggle), c.shown) << "value " << c.value;
        EXPECT_EQ(toggle.getLastDrawnValue(), c.value);
    }
    // The block has the control's size, taken from the top of the chosen half.
    EXPECT_PRED2(sameColor, canvas.pixel(4, 4), colorYellow);
    EXPECT_PRED2(sameColor, canvas.pixel(19, 19), colorYellow);
    EXPECT_PRED2(sameColor, canvas.pixel(20, 20), colorBlack);
}

TEST_F(ToggleButtonTest, OnStateStartsAtHalfTheImagesHeight) {
    // 40 high: the on state is copied from row 20; each row has its own colour.
    GuiBitmap* image = new GuiBitmap(makeColorBitmap(host, 10, 40, [](int, int y) {
        return GuiColor{static_cast<std::uint8_t>(y * 6), 0, 0, 0};
    }));
    ToggleButton toggle(GuiRect(0, 0, 10, 20), nullptr, 0, image);
    image->release();
    toggle.setValue(1.0f);
    drawnState(toggle);
    EXPECT_EQ(canvas.pixel(3, 0).red, 20 * 6);
    EXPECT_EQ(canvas.pixel(3, 19).red, 39 * 6);
}

TEST_F(ToggleButtonTest, ClickSwitchesValuesThatTruncateToZeroOnAndOthersOff) {
    GuiBitmap* image = new GuiBitmap(makeColorBitmap(host, 16, 32, twoStates));
    ToggleButton toggle(GuiRect(4, 4, 20, 20), &listener, 54, image);
    image->release();
    struct Case {
        float before, after;
        GuiColor drawn;
    } cases[] = {
        {0.0f, 1.0f, colorYellow}, {0.3f, 1.0f, colorYellow},
        {0.7f, 1.0f, colorYellow}, {-0.5f, 1.0f, colorYellow},
        {1.0f, 0.0f, colorBlue},   {1.5f, 0.0f, colorBlue},
        {-1.0f, 0.0f, colorBlue},  {std::numeric_limits<float>::quiet_NaN(), 0.0f, colorBlue},
        {3e9f, 0.0f, colorBlue},
    };
    for (const Case& c : cases) {
        toggle.setValue(c.before);
        listener.values.clear();
        canvas.clear(colorBlack);
        {
            DrawContext context(nullptr, canvas.dc(), nullptr);
            GuiPoint where(10, 10);
            toggle.mouseDown(context, where);
        }
        EXPECT_EQ(toggle.getValue(), c.after) << "from " << c.before;
        EXPECT_PRED2(sameColor, canvas.pixel(10, 10), c.drawn) << "from " << c.before << ": drawn at once";
        EXPECT_EQ(listener.values, std::vector<float>{c.after}) << "from " << c.before;
    }
    EXPECT_EQ(listener.tags.back(), 54);
}

TEST_F(ToggleButtonTest, WithoutBitmapStillTogglesAndReportsButDrawsNothing) {
    ToggleButton toggle(GuiRect(4, 4, 20, 20), &listener, 55, nullptr);
    DrawContext context(nullptr, canvas.dc(), nullptr);
    GuiPoint where(10, 10);
    toggle.mouseDown(context, where);
    EXPECT_EQ(toggle.getValue(), 1.0f);
    EXPECT_EQ(listener.values.size(), 1u);
    EXPECT_GT(canvas.boundsOfPixelsOtherThan(colorBlack).left, canvas.boundsOfPixelsOtherThan(colorBlack).right);

    toggle.setMouseEnabled(false);
    toggle.mouseDown(context, where);
    EXPECT_EQ(toggle.getValue(), 1.0f);
    EXPECT_EQ(listener.values.size(), 1u);
}

TEST(GuiControlTest, NewControlDrawsOnItsFirstUpdateAndSettingAValueNeverDraws) {
    ToggleButton toggle(GuiRect(0, 0, 1, 1), nullptr, 7, nullptr);
    EXPECT_EQ(toggle.getLastDrawnValue(), -1.0f);
    EXPECT_EQ(toggle.getValue(), 0.0f);
    EXPECT_EQ(toggle.getDefaultValue(), 0.5f);
    EXPECT_EQ(toggle.getMin(), 0.0f);
    EXPECT_EQ(toggle.getMax(), 1.0f);
    EXPECT_TRUE(toggle.isMouseEnabled());
    EXPECT_EQ(toggle.getTag(), 7);

    DrawContext context(nullptr, nullptr, nullptr);
    toggle.update(context);  // value 0.0 differs from -1.0
    EXPECT_EQ(toggle.getLastDrawnValue(), 0.0f);
    toggle.setValue(7.5f);  // stored unchanged, not drawn
    EXPECT_EQ(toggle.getValue(), 7.5f);
    EXPECT_EQ(toggle.getLastDrawnValue(), 0.0f);
    toggle.update(context);
    EXPECT_EQ(toggle.getLastDrawnValue(), 7.5f);
}

}  // namespace
