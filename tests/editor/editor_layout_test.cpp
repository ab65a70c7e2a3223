#include "editor/editor_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Converter = void (*)(float, char*);

// Sizes of the shipped bitmaps, from which the face's rectangles follow.
constexpr BitmapSize kBackgroundSize{512, 512};
constexpr BitmapSize kToggleImageSize{16, 32};
constexpr BitmapSize kKnobBodySize{24, 24};
constexpr BitmapSize kPictureSize{300, 150};

void expectRect(const GuiRect& rect, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST(EditorLayout, HasOneHundredElevenViewsAndOneMainControlPerParameter) {
    std::map<std::int32_t, int> mainControls;
    int views = 1;  // the overlay button
    ++mainControls[kOverlayLayout.parameter];
    for (const KnobLayout& knob : kKnobLayouts) {
        // A row left out of the table would be zero-filled: no display area.
        if (knob.display.right > knob.display.left && knob.display.bottom > knob.display.top) views += 2;
        ++mainControls[knob.parameter];
    }
    for (const ToggleLayout& toggle : kToggleLayouts) {
        ++views;
        ++mainControls[toggle.parameter];
    }
    EXPECT_EQ(views, 111);
    ASSERT_EQ(mainControls.size(), 58u);
    for (std::int32_t parameter = 0; parameter < 58; ++parameter)
        EXPECT_EQ(mainControls[parameter], 1) << "parameter " << parameter;
}

TEST(EditorLayout, BindingLeadsBackToTheControlOfItsParameter) {
    int knobs = 0, toggles = 0, overlays = 0;
    for (std::int32_t parameter = 0; parameter < 58; ++parameter) {
        const ControlBinding binding = bindingFor(parameter);
        switch (binding.control) {
            case MainControl::knob:
                ++knobs;
                ASSERT_LT(binding.slot, kKnobCount);
                EXPECT_EQ(kKnobLayouts[binding.slot].parameter, parameter);
                EXPECT_TRUE(binding.hasDisplay);
                break;
            case MainControl::toggle:
                ++toggles;
                ASSERT_LT(binding.slot, kToggleCount);
                EXPECT_EQ(kToggleLayouts[binding.slot].parameter, parameter);
                EXPECT_FALSE(binding.hasDisplay);
                break;
            case MainControl::overlay:
                ++overlays;
                EXPECT_EQ(parameter, 57);
                EXPECT_FALSE(binding.hasDisplay);
                break;
            case MainControl::none: ADD_FAILURE() << "parameter " << parameter << " is bound to nothing"; break;
        }
    }
    EXPECT_EQ(knobs, 53);
    EXPECT_EQ(toggles, 4);
    EXPECT_EQ(overlays, 1);
    for (std::int32_t outside : {-1, 58, 1000, -2147483647 - 1})
        EXPECT_EQ(bindingFor(outside).control, MainControl::none) << outside;
}

TEST(EditorLayout, DisplaysAreThirtyTwoByEightExceptThree) {
    for (const KnobLayout& knob : kKnobLayouts) {
        const bool wide = knob.parameter == 3 || knob.parameter == 2;
        const bool tall = knob.parameter == 29;
        EXPECT_EQ(knob.display.right - knob.display.left, wide ? 36 : 32) << "parameter " << knob.parameter;
        EXPECT_EQ(knob.display.bottom - knob.display.top, tall ? 10 : 8) << "parameter " << knob.parameter;
    }
}

TEST(EditorLayout, DisplaySitsUnderItsKnob) {
    for (const KnobLayout& knob : kKnobLayouts) {
        const GuiRect body = knobRect(knob, kKnobBodySize);
        const std::int32_t centre = (body.left + body.right) / 2;
        EXPECT_LT(knob.display.left, centre) << "parameter " << knob.parameter;
        EXPECT_GT(knob.display.right, centre) << "parameter " << knob.parameter;
        EXPECT_GE(knob.display.top, body.bottom) << "parameter " << knob.parameter;
        EXPECT_LE(knob.display.top, body.bottom + 2) << "parameter " << knob.parameter;
    }
}

TEST(EditorLayout, DisplayConvertersFollowTheirParameters) {
    std::map<std::int32_t, Converter> expected;
    auto use = [&](Converter converter, std::vector<std::int32_t> parameters) {
        for (std::int32_t parameter : parameters) expected[parameter] = converter;
    };
    use(percentText, {0, 1, 28, 34, 35, 48, 49, 50});
    use(mText60, {30, 31});
    use(msText90, {3, 4, 5, 6});
    use(msText120, {7, 8, 9, 10});
    use(msText180, {17, 18, 19, 20});
    use(msText200, {36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47});
    use(decibelText, {11, 12, 13, 14, 25, 26});
    use(hertzText, {2, 15, 16, 27, 51});
    use(nullptr, {21, 22, 23, 24, 29, 32, 33, 52});
    ASSERT_EQ(expected.size(), 53u);
    for (const KnobLayout& knob : kKnobLayouts) {
        ASSERT_EQ(expected.count(knob.parameter), 1u) << "parameter " << knob.parameter;
        EXPECT_EQ(kParameterTable[knob.parameter].converter, expected[knob.parameter])
            << "parameter " << knob.parameter;
    }
}

TEST(EditorLayout, KnobsTakeTheBodySizeAndTheTopDelayKnobsAreOnePixelShort) {
    for (const KnobLayout& knob : kKnobLayouts) {
        const GuiRect rect = knobRect(knob, kKnobBodySize);
        const bool short23 = knob.parameter == 36 || knob.parameter == 42;
        EXPECT_EQ(rect.width(), 24) << "parameter " << knob.parameter;
        EXPECT_EQ(rect.height(), short23 ? 23 : 24) << "parameter " << knob.parameter;
    }
    expectRect(knobRect(kKnobLayouts[bindingFor(36).slot], kKnobBodySize), 402, 66, 426, 89);
    expectRect(knobRect(kKnobLayouts[bindingFor(42).slot], kKnobBodySize), 442, 66, 466, 89);
    expectRect(knobRect(kKnobLayouts[bindingFor(29).slot], kKnobBodySize), 24, 353, 48, 377);
    // A body bitmap that failed to load leaves an empty rectangle at the knob's corner.
    expectRect(knobRect(kKnobLayouts[bindingFor(0).slot], BitmapSize{}), 24, 449, 24, 449);
}

TEST(EditorLayout, TogglesShowOneHalfOfTheirImage) {
    const std::int32_t tops[] = {346, 382, 418, 454};
    const std::int32_t parameters[] = {53, 54, 55, 56};
    for (std::int32_t i = 0; i < kToggleCount; ++i) {
        EXPECT_EQ(kToggleLayouts[i].parameter, parameters[i]);
        expectRect(toggleRect(kToggleLayouts[i], kToggleImageSize), 398, tops[i], 414, tops[i] + 16);
    }
    // Half of an odd height is truncated: 346 + 16.5 gives 362.
    expectRect(toggleRect(kToggleLayouts[0], BitmapSize{16, 33}), 398, 346, 414, 362);
}

TEST(EditorLayout, FrameAndOverlayAreasFollowTheirBitmaps) {
    expectRect(frameRect(kBackgroundSize), 0, 0, 512, 512);
    EXPECT_EQ(kOverlayLayout.parameter, 57);
    expectRect(kOverlayLayout.button.guiRect(), 460, 4, 506, 24);
    expectRect(overlayPictureArea(kPictureSize), 88, 150, 388, 300);
}

}  // namespace
