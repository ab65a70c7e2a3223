// The editor's face as data: every view that open creates, in creation order
// (the frame's drawing and hit-test order): the overlay button, then each knob
// immediately followed by the value display under it, then the four toggles.
// Rectangles that depend on a bitmap are derived from its size by the
// functions below, so a missing bitmap (size 0) shrinks them as it would the
// drawn face.
#pragma once

#include <array>
#include <cstdint>

#include "gui/gui_geometry.h"
#include "reverb/parameter_table.h"

// A rectangle as the table spells it (left, top, right, bottom, right and
// bottom exclusive); a plain aggregate so the table can be constexpr.
struct LayoutRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    GuiRect guiRect() const { return {left, top, right, bottom}; }
};

// Width and height of a loaded bitmap, as GuiBitmap reports them.
struct BitmapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Bitmap resources the face is built from.
constexpr std::int32_t kBackgroundBitmap = 193;
constexpr std::int32_t kToggleBitmap = 194;  // two states, off above on
constexpr std::int32_t kKnobBodyBitmap = 195;
constexpr std::int32_t kKnobHandleBitmap = 196;
constexpr std::int32_t kOverlayPictureBitmap = 197;

struct KnobLayout {
    ParameterId parameter;  // tag of the knob; the display shows the same parameter with its converter
    std::int32_t knobLeft;
    std::int32_t knobTop;
    // The knob's bottom edge is this plus the body's height: knobTop for every
    // knob except the top row of the delay columns, which is one pixel short.
    std::int32_t knobBottomBase;
    LayoutRect display;
};

struct ToggleLayout {
    ParameterId parameter;
    std::int32_t top;
};

struct OverlayLayout {
    ParameterId parameter;
    LayoutRect button;
    std::int32_t pictureLeft;  // top-left corner of the picture it shows
    std::int32_t pictureTop;
};

constexpr std::int32_t kKnobCount = 53;
constexpr std::int32_t kToggleCount = 4;
constexpr std::int32_t kToggleLeft = 398;

inline constexpr OverlayLayout kOverlayLayout{kAbout, {460, 4, 506, 24}, 88, 150};

// clang-format off
inline constexpr std::array<KnobLayout, kKnobCount> kKnobLayouts{{
    // Early reflections, left column.
    {kSourceLevel,       24, 353, 353, { 20, 377,  52, 387}},
    {kRoomWidth,         24,  72,  72, { 20,  98,  52, 106}},
    {kRoomLength,        24, 119, 119, { 20, 144,  52, 152}},
    {kSourceX,           24, 168, 168, { 20, 192,  52, 200}},
    {kSourceY,           24, 212, 212, { 20, 236,  52, 244}},
    {kListenerY,         24, 306, 306, { 20, 330,  52, 338}},
    {kListenerX,         24, 260, 260, { 20, 284,  52, 292}},
    {kAbsorption,        24, 402, 402, { 20, 426,  52, 434}},
    {kQuality,           24, 449, 449, { 20, 473,  52, 481}},
    // Input diffusion.
    {kDiffuserTime1,    106,  86,  86, {100, 110, 136, 118}},
    {kDiffusionGain12,  154,  86,  86, {150, 110, 182, 118}},
    {kDiffuserTime2,    202,  86,  86, {198, 110, 230, 118}},
    {kDiffuserTime3,    249,  86,  86, {245, 110, 277, 118}},
    {kDiffusionGain34,  295,  86,  86, {291, 110, 323, 118}},
    {kDiffuserTime4,    340,  86,  86, {336, 110, 368, 118}},
    // Tank structure.
    {kTankAllpassTimeA, 106, 172, 172, {102, 196, 134, 204}},
    {kTankGainAB,       154, 172, 172, {150, 196, 182, 204}},
    {kTankAllpassTimeC, 202, 172, 172, {198, 196, 230, 204}},
    {kTankAllpassTimeB, 249, 172, 172, {245, 196, 277, 204}},
    {kTankGainCD,       295, 172, 172, {291, 196, 323, 204}},
    {kTankAllpassTimeD, 340, 172, 172, {336, 196, 368, 204}},
    {kTankDelay1,       106, 240, 240, {102, 264, 134, 272}},
    {kTankDecay1,       166, 240, 240, {162, 264, 194, 272}},
    {kDamping1,         226, 240, 240, {222, 264, 254, 272}},
    {kTankDelay3,       288, 240, 240, {284, 264, 316, 272}},
    {kTankFeed1Into2,   340, 240, 240, {336, 264, 368, 272}},
    {kTankDelay2,       106, 300, 300, {102, 324, 134, 332}},
    {kTankDecay2,       166, 300, 300, {162, 324, 194, 332}},
    {kDamping2,         226, 300, 300, {222, 324, 254, 332}},
    {kTankDelay4,       288, 300, 300, {284, 324, 316, 332}},
    {kTankFeed2Into1,   340, 300, 300, {336, 324, 368, 332}},
    // State-variable filter.
    {kFilterCentre,     106, 396, 396, {102, 420, 134, 428}},
    {kFilterResonance,  166, 396, 396, {162, 420, 194, 428}},
    {kHighMix,          226, 396, 396, {222, 420, 254, 428}},
    {kLowMix,           288, 396, 396, {284, 420, 316, 428}},
    {kBandMix,          340, 396, 396, {336, 420, 368, 428}},
    // Extras and output.
    {kBandwidth,        106, 450, 450, {100, 474, 136, 482}},
    {kColour,           158, 450, 450, {154, 474, 186, 482}},
    {kDiffuserFeedback, 212, 450, 450, {206, 474, 238, 482}},
    {kDryLevel,         288, 450, 450, {284, 474, 316, 482}},
    {kWetLevel,         340, 450, 450, {336, 474, 368, 482}},
    // Output taps: the "Left" column, then the "Right" column.
    {kLeftTap1,         402,  66,  65, {396,  90, 428,  98}},
    {kLeftTap2,         402, 110, 110, {396, 134, 428, 142}},
    {kLeftTap3,         402, 154, 154, {396, 178, 428, 186}},
    {kLeftTap4,         402, 198, 198, {396, 222, 428, 230}},
    {kLeftTap5,         402, 240, 240, {396, 264, 428, 272}},
    {kLeftTap6,         402, 282, 282, {396, 306, 428, 314}},
    {kRightTap1,        442,  66,  65, {438,  90, 470,  98}},
    {kRightTap2,        442, 110, 110, {438, 134, 470, 142}},
    {kRightTap3,        442, 154, 154, {438, 178, 470, 186}},
    {kRightTap4,        442, 198, 198, {438, 222, 470, 230}},
    {kRightTap5,        442, 240, 240, {438, 264, 470, 272}},
    {kRightTap6,        442, 282, 282, {438, 306, 470, 314}},
}};
// clang-format on

// Tops 36 apart, beside the labels "State Variable", "Early Reflections",
// "Tank" and "Softener".
inline constexpr std::array<ToggleLayout, kToggleCount> kToggleLayouts{{
    {kFilterSwitch, 346},
    {kReflectionsSwitch, 382},
    {kTankSwitch, 418},
    {kCombsSwitch, 454},
}};

// The frame and the editor's rect: the background bitmap's size at 0, 0.
GuiRect frameRect(BitmapSize background);
// x, y, x + body width, bottom base + body height.
GuiRect knobRect(const KnobLayout& knob, BitmapSize body);
// One state of the two-state image: bottom = t + 0.5 * image height, truncated.
GuiRect toggleRect(const ToggleLayout& toggle, BitmapSize image);
// Where the overlay button shows its picture, at full picture size.
GuiRect overlayPictureArea(BitmapSize picture);

// Which controls setParameter refreshes for a parameter index.
enum class MainControl { none, knob, toggle, overlay };

struct ControlBinding {
    MainControl control = MainControl::none;
    // Position in kKnobLayouts or kToggleLayouts (0 for the overlay button).
    std::int32_t slot = 0;
    bool hasDisplay = false;  // the knob's value display
};

// MainControl::none for an index outside 0..57.
ControlBinding bindingFor(std::int32_t parameter);
