// The knob's angle mapping in both directions and its drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui/rotary_knob.h"
#include "gui_test_support.h"

namespace {

class RotaryKnobTest : public ::testing::Test {
protected:
    // A handle of the given width: a red square on white, the white left out when drawn.
    GuiBitmap* makeHandle(int width) {
        return new GuiBitmap(makeColorBitmap(host, width, width, [width](int x, int y) {
            return x > 0 && y > 0 && x < width - 1 && y < width - 1 ? colorRed : colorWhite;
        }));
    }

    HostWindow host;
};

TEST_F(RotaryKnobTest, HandleSitsOnTheArcOfAThirtyOnePixelKnob) {
    // Handle 10 wide: inset 5, r = (31 - 10) / 2 = 10.5, centre (15.5, 15.5).
    GuiBitmap* handle = makeHandle(10);
    RotaryKnob knob(GuiRect(40, 20, 71, 51), nullptr, 0, nullptr, handle, GuiPoint(0, 0));
    handle->release();
    EXPECT_EQ(knob.getInset(), 5);

    const double r = 10.5;
    const double s = std::sqrt(0.5);
    struct Case {
        float value;
        GuiPoint expected;  // trunc(sin a * r + r) + 5, trunc(r - cos a * r) + 5
    } cases[] = {
        {0.5f, {15, 5}},                                                                    // 12 o'clock
        {0.0f, {static_cast<int>(r - s * r) + 5, static_cast<int>(r + s * r) + 5}},         // 7:30
        {1.0f / 6.0f, {5, static_cast<int>(r) + 5}},                                        // 9 o'clock
        {1.0f / 3.0f, {static_cast<int>(r - s * r) + 5, static_cast<int>(r - s * r) + 5}},  // 10:30
        {2.0f / 3.0f, {static_cast<int>(r + s * r) + 5, static_cast<int>(r - s * r) + 5}},  // 1:30
        {1.0f, {static_cast<int>(r + s * r) + 5, static_cast<int>(r + s * r) + 5}},         // 4:30
        {-1.0f / 3.0f,
         {static_cast<int>(r + s * r) + 5, static_cast<int>(r + s * r) + 5}},  // extrapolated back to 4:30
    };
    for (const Case& c : cases) {
        knob.setValue(c.value);
        GuiPoint point;
        knob.valueToPoint(point);
        EXPECT_EQ(point.h, c.expected.h) << "value " << c.value;
        EXPECT_EQ(point.v, c.expected.v) << "value " << c.value;
    }
}

TEST_F(RotaryKnobTest, ValuesWithoutAnAngleRestAtTheStartOfTheScale) {
    GuiBitmap* handle = makeHandle(10);
    RotaryKnob knob(GuiRect(0, 0, 31, 31), nullptr, 0, nullptr, handle, GuiPoint(0, 0));
    handle->release();
    GuiPoint start;
    knob.valueToPoint(start);  // value 0 = min

    struct Case {
        float value, min, max;
    } cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), 0.0f, 1.0f},
        {std::numeric_limits<float>::infinity(), 0.0f, 1.0f},
        {-std::numeric_limits<float>::infinity(), 0.0f, 1.0f},
        {0.3f, 0.3f, 0.3f},  // empty range, value = min
        {0.9f, 0.3f, 0.3f},  // empty range, value elsewhere
    };
    for (const Case& c : cases) {
        knob.setMin(c.min);
        knob.setMax(c.max);
        knob.setValue(c.value);
        GuiPoint point;
        knob.valueToPoint(point);
        EXPECT_EQ(point.h, start.h) << "value " << c.value << " range " << c.min << ".." << c.max;
        EXPECT_EQ(point.v, start.v) << "value " << c.value << " range " << c.min << ".." << c.max;
    }
    // An empty range reads back as min wherever the cursor is.
    knob.setMin(0.3f);
    knob.setMax(0.3f);
    EXPECT_EQ(knob.valueFromPoint(GuiPoint(0, 0)), 0.3f);
    EXPECT_EQ(knob.valueFromPoint(GuiPoint(16, 5)), 0.3f);
}

TEST_F(RotaryKnobTest, ValueFollowsTheAngleOfThePointAroundTheCentre) {
    // 24 wide with a 12-pixel handle: inset 6, r = 6, centre (12, 12) in the knob's system.
    GuiBitmap* handle = makeHandle(12);
    RotaryKnob knob(GuiRect(100, 100, 124, 124), nullptr, 0, nullptr, handle, GuiPoint(0, 0));
    handle->release();
    struct Case {
        GuiPoint point;
        float min, max;
        float expected;
    } cases[] = {
        {{12, 0}, 0.0f, 1.0f, 0.5f},          // straight above: exactly the middle
        {{12, -300}, 0.0f, 1.0f, 0.5f},       // distance does not matter
        {{12, 20}, 0.0f, 1.0f, 1.0f},         // straight below: dead zone, right half
        {{11, 20}, 0.0f, 1.0f, 0.0f},         // below and one pixel left: dead zone, left half
        {{2, 22}, 0.0f, 1.0f, 0.0f},          // 7:30
        {{22, 22}, 0.0f, 1.0f, 1.0f},         // 4:30
        {{0, 12}, 0.0f, 1.0f, 1.0f / 6.0f},   // 9 o'clock
        {{24, 12}, 0.0f, 1.0f, 5.0f / 6.0f},  // 3 o'clock
        {{0, 0}, 0.0f, 1.0f, 1.0f / 3.0f},    // 10:30
        {{12, 0}, 2.0f, 4.0f, 3.0f},          // the scale spans min to max
        {{12, 20}, 2.0f, 4.0f, 4.0f},        {{0, 12}, 2.0f, 4.0f, 2.0f + 1.0f / 3.0f},
    };
    for (const Case& c : cases) {
        knob.setMin(c.min);
        knob.setMax(c.max);
        EXPECT_NEAR(knob.valueFromPoint(c.point), c.expected, 1e-6)
            << "point (" << c.point.h << "," << c.point.v << ") range " << c.min << ".." << c.max;
    }
    knob.setMin(0.0f);
    knob.setMax(1.0f);
    EXPECT_EQ(knob.valueFromPoint(GuiPoint(12, 0)), 0.5f);  // not merely near
}

TEST_F(RotaryKnobTest, DrawsTheBackgroundThenTheHandleAtTheValuesAngle) {
    GuiCanvas canvas(host, 120, 80, colorBlue);
    GuiBitmap* body = new GuiBitmap(makeColorBitmap(host, 31, 31, [](int, int) { return colorGreen; }));
    GuiBitmap* handle = makeHandle(10);
    RotaryKnob knob(GuiRect(40, 20, 71, 51), nullptr, 0, body, handle, GuiPoint(0, 0));
    EXPECT_EQ(body->getReferenceCount(), 2);
    EXPECT_EQ(handle->getReferenceCount(), 2);
    knob.setValue(0.5f);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        knob.draw(context);
    }
    // Handle's top-left corner 10 right of and 0 below the size's corner; its white border left out.
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [](int x, int y) {
            if (x >= 51 && x <= 58 && y >= 21 && y <= 28) return colorRed;
            return x >= 40 && x < 71 && y >= 20 && y < 51 ? colorGreen : colorBlue;
        },
        "knob_at_half"));
    EXPECT_EQ(knob.getLastDrawnValue(), 0.5f);

    // An update after a change erases the old handle by drawing the body first.
    knob.setValue(0.0f);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        knob.update(context);
    }
    EXPECT_TRUE(sameColor(canvas.pixel(54, 24), colorGreen));
    body->release();
    handle->release();
}

}  // namespace
