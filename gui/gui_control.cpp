#include "gui/gui_control.h"

#include "gui/gui_frame.h"

GuiControl::GuiControl(const GuiRect& size, ControlListener* listener, std::int32_t tag)
    : GuiView(size), listener(listener), tag(tag) {}

void GuiControl::update(DrawContext& context) {
    const float current = getValue();
    if (current == lastDrawnValue) return;
    draw(context);
    lastDrawnValue = current;
}

void GuiControl::doIdle() {
    if (parent != nullptr) parent->doIdle();
}

void GuiControl::reportChange(DrawContext& context) {
    if (listener != nullptr) listener->valueChanged(context, *this);
}

void GuiControl::beginEdit() {
    if (listener != nullptr) listener->beginEdit(*this);
}

void GuiControl::endEdit() {
    if (listener != nullptr) listener->endEdit(*this);
}

void GuiControl::setInOneGesture(DrawContext& context, float newValue) {
    beginEdit();
    setValue(newValue);
    if (valueDiffersFromLastDrawn()) reportChange(context);
    endEdit();
}

bool GuiControl::valueToRestore(float& restored) const {
    return listener != nullptr && listener->valueToRestore(*this, restored);
}

float GuiControl::withinRange(float candidate) const {
    if (candidate > maxValue) candidate = maxValue;
    if (candidate < minValue) candidate = minValue;
    return candidate;
}
