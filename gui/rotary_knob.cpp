#include "gui/rotary_knob.h"

#include <cmath>

#include "gui/draw_style.h"

namespace {

// Single-precision constants of the scale.
constexpr float kScaleSweep = 4.712389f;   // 3 pi / 2, min to max clockwise
constexpr float kScaleStart = 3.9269907f;  // 5 pi / 4 from 12 o'clock: 7:30, value = min
constexpr float kQuarterTurn = 1.5707964f;
constexpr float kHalfTurn = 3.1415927f;
constexpr float kFullTurn = 6.2831855f;
constexpr float kTurnsToScale = 1.3333334f;  // a fraction of a turn as a fraction of the 3/4-turn scale

// Fractions of a turn counter-clockwise from 3 o'clock.
constexpr float kDeadZoneStart = 0.625f;  // 7:30
constexpr float kDeadZoneMiddle = 0.75f;  // 6:00
constexpr float kDeadZoneEnd = 0.875f;    // 4:30

constexpr std::int32_t kAltClick = mouseLeft + keyAlt;  // exactly this, no other button or key

constexpr float kFineDragRatio = 0.1f;    // Shift while dragging
constexpr float kWheelNotchStep = 0.01f;  // of the range
constexpr float kFineWheelNotchStep = 0.001f;

}  // namespace

RotaryKnob::RotaryKnob(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* background,
                       GuiBitmap* handle, const GuiPoint& backgroundOffset)
    : GuiControl(size, listener, tag), background(background), handle(handle), backgroundOffset(backgroundOffset) {
    if (handle != nullptr) {
        inset = handle->getWidth() / 2;
        handle->addRef();
    }
    if (background != nullptr) background->addRef();
}

RotaryKnob::~RotaryKnob() {
    if (handle != nullptr) handle->release();
    if (background != nullptr) background->release();
}

float RotaryKnob::radius() const { return static_cast<float>(size.width() - 2 * inset) / 2.0f; }

float RotaryKnob::angleOf(float value, float minValue, float maxValue) {
    const float angle = kScaleSweep / (maxValue - minValue) * (value - minValue) + kScaleStart;
    // NaN values, infinities and an empty range (a division by zero) have no
    // angle; the handle rests at the start of the scale, where min is.
    return std::isfinite(angle) ? angle : kScaleStart;
}

void RotaryKnob::valueToPoint(GuiPoint& point) const {
    const double angle = angleOf(getValue(), minValue, maxValue);
    const float r = radius();
    point.h = static_cast<std::int32_t>(std::sin(angle) * r + r) + inset;
    point.v = static_cast<std::int32_t>(r - std::cos(angle) * r) + inset;
}

float RotaryKnob::valueFromPoint(const GuiPoint& point) const {
    const float r = radius();
    const float x = static_cast<float>(point.h - inset) - r;
    const float y = r - static_cast<float>(point.v - inset);  // growing upwards

    // Counter-clockwise angle from 3 o'clock as a fraction of a turn, in [0, 1).
    float angle = std::fabs(x) < 1e-12f && std::fabs(y) < 1e-12f ? 0.0f : -std::atan(x / y);
    angle += kQuarterTurn;
    if (y < 0.0f) angle += kHalfTurn;
    float turns = angle / kFullTurn;

    if (turns > kDeadZoneStart && turns < kDeadZoneEnd) return turns < kDeadZoneMiddle ? minValue : maxValue;
    // Now counter-clockwise from 4:30 o'clock: 0 there, 0.75 at 7:30.
    turns = turns >= kDeadZoneEnd ? turns - kDeadZoneEnd : turns + (1.0f - kDeadZoneEnd);

    const float range = maxValue - minValue;
    return withinRange(minValue + range - range * (turns * kTurnsToScale));
}

void RotaryKnob::draw(DrawContext& context) {
    const float shown = getValue();
    if (background != nullptr) background->draw(context, size, backgroundOffset);
    if (handle != nullptr) {
        GuiPoint corner;
        valueToPoint(corner);
        corner.h += size.left - inset;
        corner.v += size.top - inset;
        const GuiRect handleRect(corner.h, corner.v, corner.h + handle->getWidth(), corner.v + handle->getHeight());
        handle->drawTransparent(context, handleRect, GuiPoint(0, 0));
    }
    lastDrawnValue = shown;
}

void RotaryKnob::mouseDown(DrawContext& context, GuiPoint& where) {
    if (!mouseEnabled) return;
    beginEdit();
    if (context.getMouseState() == kAltClick) {
        setValue(defaultValue);
        if (valueDiffersFromLastDrawn()) reportChange(context);
        endEdit();
        return;
    }
    // The whole drag runs inside this button-down message: the first value is
    // taken at the click, then the cursor's position on every pass.
    DragAnchor anchor;
    std::int32_t held = context.getMouseState();
    do {
        where.h -= size.left - inset;
        where.v -= size.top - inset;
        setValue(dragTarget(valueFromPoint(where), (held & keyShift) != 0, anchor));
        if (valueDiffersFromLastDrawn()) reportChange(context);
        context.getMouseLocation(where);
        doIdle();
        held = context.getMouseState();
    } while (held != 0);
    endEdit();
}

float RotaryKnob::dragTarget(float pointed, bool fine, DragAnchor& anchor) const {
    if (!anchor.started) {
        anchor = {true, fine, fine, pointed, pointed};
        return pointed;  // the click's own value, Shift or not
    }
    // Pressing or releasing Shift re-anchors at the knob's value, so the
    // change of speed never makes it jump.
    if (fine != anchor.fine) anchor = {true, true, fine, pointed, getValue()};
    if (!anchor.relative) return pointed;
    const float ratio = anchor.fine ? kFineDragRatio : 1.0f;
    return withinRange(anchor.knobValue + (pointed - anchor.pointedValue) * ratio);
}

void RotaryKnob::mouseDoubleClick(DrawContext& context, GuiPoint&) {
    float restored = 0.0f;
    if (mouseEnabled && valueToRestore(restored)) setInOneGesture(context, restored);
}

void RotaryKnob::mouseWheel(DrawContext& context, const GuiPoint&, float notches, std::int32_t modifiers) {
    if (!mouseEnabled || notches == 0.0f) return;
    const float step = (modifiers & keyShift) != 0 ? kFineWheelNotchStep : kWheelNotchStep;
    setInOneGesture(context, withinRange(getValue() + notches * step * (maxValue - minValue)));
}

void RotaryKnob::setBackground(GuiBitmap* bitmap) {
    // The new reference first, so that setting the same bitmap again keeps it alive.
    if (bitmap != nullptr) bitmap->addRef();
    if (background != nullptr) background->release();
    background = bitmap;
}
