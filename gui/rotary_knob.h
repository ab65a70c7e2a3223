// A knob: a handle image that moves on a 270-degree arc over a background
// image, dragged by the absolute angle of the cursor around the knob's centre.
//
// Geometry: inset is half the handle's width and r = (width - 2 inset) / 2.
// Points of valueToPoint and valueFromPoint are measured from the corner
// (left - inset, top - inset) of the size, where the centre of rotation is
// (inset + r, inset + r); a point is where the handle's top-left corner goes.
// The angle runs clockwise from 7:30 o'clock (min) to 4:30 o'clock (max); the
// bottom quarter between them is a dead zone.
#pragma once

#include "gui/gui_bitmap.h"
#include "gui/gui_control.h"

class RotaryKnob : public GuiControl {
public:
    // Takes a reference on each bitmap given. Without a handle inset is 5 and
    // nothing but the background is drawn.
    RotaryKnob(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* background,
               GuiBitmap* handle, const GuiPoint& backgroundOffset);
    // Releases the handle, then the background.
    ~RotaryKnob() override;

    // The background, then the handle at the value's angle with its white left out.
    void draw(DrawContext& context) override;
    // Left button with Alt alone sets the default value; anything else drags
    // until no button and none of Shift, Control and Alt is held. The click
    // takes the value at its angle and the drag follows the cursor's angle;
    // while Shift is held it turns ten times finer from where the knob stands,
    // and once Shift has been used it stays relative to the cursor, so the
    // knob never jumps.
    void mouseDown(DrawContext& context, GuiPoint& where) override;
    // Returns to the listener's stored value for the knob, if it has one.
    void mouseDoubleClick(DrawContext& context, GuiPoint& where) override;
    // 1 % of the range a notch, 0.1 % with Shift, limited to min … max.
    void mouseWheel(DrawContext& context, const GuiPoint& where, float notches, std::int32_t modifiers) override;

    // Values outside min..max extrapolate the angle; NaN, infinities and
    // max == min put the handle at the start of the scale.
    virtual void valueToPoint(GuiPoint& point) const;
    // Clamped to min..max; the dead zone gives min on its left half, max on its right.
    virtual float valueFromPoint(const GuiPoint& point) const;
    // Releases the old background and takes a reference on the new one.
    virtual void setBackground(GuiBitmap* bitmap);
    virtual GuiBitmap* getBackground() const { return background; }

    std::int32_t getInset() const { return inset; }
    GuiBitmap* getHandle() const { return handle; }

private:
    // Where the drag stood when it last changed between absolute, relative and fine.
    struct DragAnchor {
        bool started = false;
        bool relative = false;
        bool fine = false;
        float pointedValue = 0.0f;
        float knobValue = 0.0f;
    };
    float dragTarget(float pointed, bool fine, DragAnchor& anchor) const;
    float radius() const;
    static float angleOf(float value, float minValue, float maxValue);

    std::int32_t inset = 5;
    GuiBitmap* background;
    GuiBitmap* handle;
    GuiPoint backgroundOffset;
};
