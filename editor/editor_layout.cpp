#include "editor/editor_layout.h"

namespace {

constexpr std::array<ControlBinding, kParameterCount> makeBindings() {
    std::array<ControlBinding, kParameterCount> bindings{};
    for (std::int32_t slot = 0; slot < kKnobCount; ++slot)
        bindings[kKnobLayouts[slot].parameter] = {MainControl::knob, slot, true};
    for (std::int32_t slot = 0; slot < kToggleCount; ++slot)
        bindings[kToggleLayouts[slot].parameter] = {MainControl::toggle, slot, false};
    bindings[kOverlayLayout.parameter] = {MainControl::overlay, 0, false};
    return bindings;
}

// Every parameter has exactly one main control.
constexpr bool eachParameterBoundOnce() {
    std::int32_t uses[kParameterCount] = {};
    for (const KnobLayout& knob : kKnobLayouts) ++uses[knob.parameter];
    for (const ToggleLayout& toggle : kToggleLayouts) ++uses[toggle.parameter];
    ++uses[kOverlayLayout.parameter];
    for (std::int32_t use : uses)
        if (use != 1) return false;
    return true;
}
static_assert(eachParameterBoundOnce());

constexpr std::array<ControlBinding, kParameterCount> kBindings = makeBindings();

}  // namespace

GuiRect frameRect(BitmapSize background) { return {0, 0, background.width, background.height}; }

GuiRect knobRect(const KnobLayout& knob, BitmapSize body) {
    return {knob.knobLeft, knob.knobTop, knob.knobLeft + body.width, knob.knobBottomBase + body.height};
}

GuiRect toggleRect(const ToggleLayout& toggle, BitmapSize image) {
    const auto bottom = static_cast<std::int32_t>(0.5 * image.height + toggle.top);
    return {kToggleLeft, toggle.top, kToggleLeft + image.width, bottom};
}

GuiRect overlayPictureArea(BitmapSize picture) {
    const std::int32_t left = kOverlayLayout.pictureLeft;
    const std::int32_t top = kOverlayLayout.pictureTop;
    return {left, top, left + picture.width, top + picture.height};
}

ControlBinding bindingFor(std::int32_t parameter) {
    if (parameter < 0 || parameter >= kParameterCount) return {};
    return kBindings[parameter];
}
