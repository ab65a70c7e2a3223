#include "gui/toggle_button.h"

ToggleButton::ToggleButton(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* bitmap)
    : GuiControl(size, listener, tag), bitmap(bitmap) {
    if (bitmap != nullptr) bitmap->addRef();
}

ToggleButton::~ToggleButton() {
    if (bitmap != nullptr) bitmap->release();
}

void ToggleButton::draw(DrawContext& context) {
    const float shown = getValue();
    if (bitmap != nullptr) {
        const std::int32_t stateTop = shown != 0.0f ? bitmap->getHeight() / 2 : 0;
        bitmap->draw(context, size, GuiPoint(0, stateTop));
    }
    lastDrawnValue = shown;
}

void ToggleButton::mouseDown(DrawContext& context, GuiPoint&) {
    if (!mouseEnabled) return;
    // The value truncated toward zero is 0 exactly for -1 < v < 1; compared in
    // float, so NaN and huge values (no int to truncate to) switch off.
    const float current = getValue();
    const bool truncatesToZero = current > -1.0f && current < 1.0f;
    setValue(truncatesToZero ? 1.0f : 0.0f);
    draw(context);
    beginEdit();
    reportChange(context);
    endEdit();
}
