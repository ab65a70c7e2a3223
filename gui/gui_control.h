// A view that carries a value and reports the user's changes to a listener.
//
// Setting a value never draws: a control draws when the frame paints, when its
// own mouse handling changes it, or when update finds the value differs from
// the one it was last drawn with. Window thread, except setValue and
// getValue, which the editor may call from the thread that sets parameters
// (the value is a relaxed atomic, a plain 32-bit store).
#pragma once

#include <atomic>
#include <cstdint>

#include "gui/control_listener.h"
#include "gui/gui_view.h"

class GuiControl : public GuiView {
public:
    // listener may be null for a control that never reports; tag is only stored.
    GuiControl(const GuiRect& size, ControlListener* listener, std::int32_t tag);

    void draw(DrawContext& context) override = 0;
    // Draws only when the value differs from the one last drawn.
    void update(DrawContext& context) override;
    // The editor's throttled idle pass, for controls that track the mouse.
    virtual void doIdle();

    // Stored unchanged: no clamping, no drawing.
    virtual void setValue(float newValue) { value.store(newValue, std::memory_order_relaxed); }
    virtual float getValue() const { return value.load(std::memory_order_relaxed); }
    virtual void setMin(float newMin) { minValue = newMin; }
    virtual float getMin() const { return minValue; }
    virtual void setMax(float newMax) { maxValue = newMax; }
    virtual float getMax() const { return maxValue; }
    virtual void setLastDrawnValue(float drawn) { lastDrawnValue = drawn; }
    virtual float getLastDrawnValue() const { return lastDrawnValue; }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setMouseEnabled(bool enabled) { mouseEnabled = enabled; }
    virtual bool isMouseEnabled() const { return mouseEnabled; }

    std::int32_t getTag() const { return tag; }
    ControlListener* getListener() const { return listener; }

protected:
    // Tells the listener, if there is one, that the user changed the value.
    void reportChange(DrawContext& context);
    // Around the reportChange calls of one gesture of the user.
    void beginEdit();
    void endEdit();
    // One gesture that sets the value at once (a wheel notch, a double-click):
    // begin, store, report if it differs from the value last drawn, end.
    void setInOneGesture(DrawContext& context, float newValue);
    // The listener's value for a double-click; false when it has none.
    bool valueToRestore(float& restored) const;
    // Limited to min … max.
    float withinRange(float candidate) const;
    bool valueDiffersFromLastDrawn() const { return getValue() != lastDrawnValue; }

    ControlListener* listener;
    std::int32_t tag;
    bool mouseEnabled = true;
    float lastDrawnValue = -1.0f;  // never a drawn value, so the first update draws
    float defaultValue = 0.5f;
    std::atomic<float> value{0.0f};
    float minValue = 0.0f;
    float maxValue = 1.0f;
};
