#include "editor/reverb_editor.h"

#include <new>
#include <thread>

#include "reverb/parameter_table.h"

static_assert(ReverbEditor::kViewCount == 111);
static_assert(ValueDisplay::valueTextSize == kConverterTextSize, "converters fill the display's buffer");

namespace {

constexpr std::int32_t kFaceBitmapIds[] = {kToggleBitmap, kKnobBodyBitmap, kKnobHandleBitmap, kOverlayPictureBitmap};

// Every value display: a black box outlined in black with white tiny text.
constexpr std::int32_t kDisplayStyle = 1;  // none of the bits the display reads

}  // namespace

ReverbEditor::ReverbEditor(EditorConnection& connection, EffectBase* effect)
    : EditorBase(effect), connection(connection) {
    background = new (std::nothrow) GuiBitmap(kBackgroundBitmap);
    setRectFromFace();
}

void ReverbEditor::setRectFromFace() {
    const GuiRect face = scale.toDevice(frameRect(sizeOf(background)));
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<std::int16_t>(face.bottom);
    rect.right = static_cast<std::int16_t>(face.right);
}

float ReverbEditor::supportedScale(float factor) {
    if (!(factor >= 1.25f)) return 1.0f;  // NaN included
    return factor < 1.75f ? 1.5f : 2.0f;
}

void ReverbEditor::setScale(float factor) {
    const DeviceScale newScale(supportedScale(factor));
    if (newScale.factor() == scale.factor()) return;
    scale = newScale;
    setRectFromFace();
    if (frame == nullptr) return;
    void* parentWindow = frame->getParentWindow();
    close();
    open(parentWindow);
}

ReverbEditor::~ReverbEditor() {
    if (frame != nullptr) close();
    if (background != nullptr) background->release();
    background = nullptr;
}

BitmapSize ReverbEditor::sizeOf(const GuiBitmap* bitmap) {
    if (bitmap == nullptr) return {};
    return {bitmap->getWidth(), bitmap->getHeight()};
}

float ReverbEditor::parameterValue(std::int32_t index) const {
    return connection.parameterValue(static_cast<ParameterId>(index));
}

std::int32_t ReverbEditor::open(void* parentWindow) {
    if (frame != nullptr) close();  // a second open rebuilds instead of leaking the first frame
    EditorBase::open(parentWindow);
    loadFaceBitmaps();
    frame = new (std::nothrow) GuiFrame(frameRect(sizeOf(background)), parentWindow, this, scale);
    if (frame == nullptr) {
        releaseFaceBitmaps();
        return 0;
    }
    frame->setBackground(background);
    // Creation order is the frame's drawing and hit-test order.
    createOverlayButton();
    createKnobs();
    createToggles();
    publishControls();
    return 1;
}

void ReverbEditor::close() {
    retractControls();
    delete frame;  // and every view in it
    frame = nullptr;
    forgetViews();
    releaseFaceBitmaps();
}

// Sequentially consistent on both sides: either a setParameter sees the
// controls retracted, or close sees it counted and waits for it.
void ReverbEditor::publishControls() { controlsLive.store(true); }

void ReverbEditor::retractControls() {
    controlsLive.store(false);
    while (controlWriters.load() != 0) std::this_thread::yield();  // a few stores at most
}

void ReverbEditor::loadFaceBitmaps() {
    for (std::size_t i = 0; i < faceBitmaps.size(); ++i)
        if (faceBitmaps[i] == nullptr) faceBitmaps[i] = new (std::nothrow) GuiBitmap(kFaceBitmapIds[i]);
}

void ReverbEditor::releaseFaceBitmaps() {
    for (GuiBitmap*& bitmap : faceBitmaps) {
        if (bitmap != nullptr) bitmap->release();
        bitmap = nullptr;
    }
}

void ReverbEditor::forgetViews() {
    overlayButton = nullptr;
    knobs.fill(nullptr);
    displays.fill(nullptr);
    toggles.fill(nullptr);
}

template <typename View>
View* ReverbEditor::addToFrame(View* view) {
    if (view == nullptr) return nullptr;
    if (frame->addView(view)) return view;
    delete view;  // not taken, so not owned by the frame
    return nullptr;
}

void ReverbEditor::createOverlayButton() {
    const GuiRect pictureArea = overlayPictureArea(sizeOf(faceBitmaps[overlayPicture]));
    auto* button = new (std::nothrow) OverlayButton(kOverlayLayout.button.guiRect(), this, kOverlayLayout.parameter,
                                                    faceBitmaps[overlayPicture], pictureArea, GuiPoint(0, 0));
    if (button != nullptr) button->setValue(parameterValue(kOverlayLayout.parameter));
    overlayButton = addToFrame(button);
}

void ReverbEditor::createKnobs() {
    const BitmapSize bodySize = sizeOf(faceBitmaps[knobBody]);
    for (std::size_t slot = 0; slot < kKnobLayouts.size(); ++slot) {
        const KnobLayout& layout = kKnobLayouts[slot];
        auto* knob = new (std::nothrow) RotaryKnob(knobRect(layout, bodySize), this, layout.parameter,
                                                   faceBitmaps[knobBody], faceBitmaps[knobHandle], GuiPoint(0, 0));
        if (knob != nullptr) knob->setValue(parameterValue(layout.parameter));
        knobs[slot] = addToFrame(knob);

        auto* display = new (std::nothrow) ValueDisplay(layout.display.guiRect(), nullptr, kDisplayStyle);
        if (display != nullptr) {
            display->setFont(fontTiny);
            display->setTextColor(colorWhite);
            display->setBackColor(colorBlack);
            const ValueConverter converter = kParameterTable[layout.parameter].converter;
            if (converter != nullptr) display->setConverter(converter);
            display->setValue(parameterValue(layout.parameter));
        }
        displays[slot] = addToFrame(display);
    }
}

void ReverbEditor::createToggles() {
    const BitmapSize imageSize = sizeOf(faceBitmaps[toggleImage]);
    for (std::size_t slot = 0; slot < kToggleLayouts.size(); ++slot) {
        const ToggleLayout& layout = kToggleLayouts[slot];
        auto* toggle = new (std::nothrow)
            ToggleButton(toggleRect(layout, imageSize), this, layout.parameter, faceBitmaps[toggleImage]);
        if (toggle != nullptr) toggle->setValue(parameterValue(layout.parameter));
        toggles[slot] = addToFrame(toggle);
    }
}

GuiControl* ReverbEditor::mainControlFor(std::int32_t index) const {
    const ControlBinding binding = bindingFor(index);
    const auto slot = static_cast<std::size_t>(binding.slot);
    switch (binding.control) {
        case MainControl::knob: return knobs[slot];
        case MainControl::toggle: return toggles[slot];
        case MainControl::overlay: return overlayButton;
        case MainControl::none: break;
    }
    return nullptr;
}

ValueDisplay* ReverbEditor::displayFor(std::int32_t index) const {
    const ControlBinding binding = bindingFor(index);
    return binding.hasDisplay ? displays[static_cast<std::size_t>(binding.slot)] : nullptr;
}

void ReverbEditor::setParameter(std::int32_t index, float) {
    controlWriters.fetch_add(1);
    if (controlsLive.load()) {
        // The plug-in's stored value, not the one passed: both controls show what the engine uses.
        GuiControl* controls[] = {mainControlFor(index), displayFor(index)};
        for (GuiControl* control : controls)
            if (control != nullptr) control->setValue(parameterValue(index));
        postUpdate();
    }
    controlWriters.fetch_sub(1);
}

void ReverbEditor::valueChanged(DrawContext& context, GuiControl& control) {
    const std::int32_t tag = control.getTag();
    if (!isParameterIndex(tag)) return;
    connection.setFromEditor(static_cast<ParameterId>(tag), control.getValue());
    control.update(context);
}

void ReverbEditor::beginEdit(GuiControl& control) {
    if (isParameterIndex(control.getTag())) connection.beginGesture(static_cast<ParameterId>(control.getTag()));
}

void ReverbEditor::endEdit(GuiControl& control) {
    if (isParameterIndex(control.getTag())) connection.endGesture(static_cast<ParameterId>(control.getTag()));
}

bool ReverbEditor::valueToRestore(const GuiControl& control, float& value) {
    if (!isParameterIndex(control.getTag())) return false;
    value = connection.storedValue(static_cast<ParameterId>(control.getTag()));
    return true;
}

EditorInterface* createReverbEditor(EditorConnection& connection, EffectBase* effect) {
    return new (std::nothrow) ReverbEditor(connection, effect);
}
