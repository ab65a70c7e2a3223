// The reverb's editor: a 512 x 512 face of bitmaps with one control per
// parameter (53 knobs, each with a value display under it, four switches and
// the About button), built by open from the layout table.
//
// Two directions of traffic meet here: a control the user moves reaches the
// plug-in and the host through valueChanged (EditorConnection, whatever the
// format), and every parameter change that reaches the plug-in comes back
// through setParameter into the controls bound to that index.
//
// Threads: construction, open, close, idle and valueChanged on the window
// thread; setParameter on whichever thread sets the parameter: it only stores
// control values and raises the update flag, the next idle pass draws. It
// never waits; close waits for a setParameter that is storing to finish
// before it deletes the controls.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "editor/editor_connection.h"
#include "editor/editor_layout.h"
#include "editor/parameter_listener.h"
#include "gui/control_listener.h"
#include "gui/editor_base.h"
#include "gui/gui_bitmap.h"
#include "gui/overlay_button.h"
#include "gui/rotary_knob.h"
#include "gui/toggle_button.h"
#include "gui/value_display.h"

class ReverbEditor : public EditorBase, public ControlListener, public ParameterListener {
public:
    static constexpr std::int32_t kViewCount = 1 + 2 * kKnobCount + kToggleCount;  // 111

    // Loads the background, whose size is the editor's rect. A VST 2 plug-in
    // passes its effect, with which the editor registers; other formats null.
    ReverbEditor(EditorConnection& connection, EffectBase* effect);
    // Closes an open editor, then releases the background.
    ~ReverbEditor() override;

    // Builds the frame and all views in the host's window; an open editor is
    // closed first. 0 if the frame cannot be made.
    std::int32_t open(void* parentWindow) override;
    // Deletes the frame with its views and releases the bitmaps open loaded.
    void close() override;
    // From the plug-in after it stored the value: while open, reloads the
    // controls bound to index (0 … 57) from the plug-in and asks for an update.
    void setParameter(std::int32_t index, float value) override;
    // A control tagged 0 … 57 sets its parameter through the connection,
    // then redraws; other tags are ignored.
    void valueChanged(DrawContext& context, GuiControl& control) override;
    void beginEdit(GuiControl& control) override;
    void endEdit(GuiControl& control) override;
    // The current program's stored value of the control's parameter.
    bool valueToRestore(const GuiControl& control, float& value) override;

    // Window thread. The factor the face is drawn at: 1, 1.5 or 2; any other
    // factor is taken to the nearest of them. The rect grows with it; an open
    // editor is built anew in its window at the new size.
    void setScale(float factor);
    float getScale() const { return scale.factor(); }
    // The nearest factor the face is drawn at.
    static float supportedScale(float factor);
    // The face's width at 1x: the background's (512).
    std::int32_t faceWidth() const { return sizeOf(background).width; }
    // The views while open, null otherwise (and for views that could not be made).
    OverlayButton* getOverlayButton() const { return overlayButton; }
    RotaryKnob* getKnob(std::int32_t slot) const { return knobs[static_cast<std::size_t>(slot)]; }
    ValueDisplay* getDisplay(std::int32_t slot) const { return displays[static_cast<std::size_t>(slot)]; }
    ToggleButton* getToggle(std::int32_t slot) const { return toggles[static_cast<std::size_t>(slot)]; }
    // The main control bound to a parameter index, and its display; null if none.
    GuiControl* mainControlFor(std::int32_t index) const;
    ValueDisplay* displayFor(std::int32_t index) const;

private:
    enum FaceBitmap { toggleImage, knobBody, knobHandle, overlayPicture, faceBitmapCount };

    static BitmapSize sizeOf(const GuiBitmap* bitmap);
    float parameterValue(std::int32_t index) const;
    // The controls become visible to setParameter on any thread, or cease to be.
    void publishControls();
    void retractControls();
    void loadFaceBitmaps();
    void releaseFaceBitmaps();
    void forgetViews();
    // Hands the view to the frame; a view the frame cannot take is deleted and null returned.
    template <typename View>
    View* addToFrame(View* view);
    void createOverlayButton();
    void createKnobs();
    void createToggles();

    void setRectFromFace();

    EditorConnection& connection;
    DeviceScale scale;
    GuiBitmap* background = nullptr;                        // 193, from construction to destruction
    std::array<GuiBitmap*, faceBitmapCount> faceBitmaps{};  // 194 … 197 while open
    OverlayButton* overlayButton = nullptr;
    std::array<RotaryKnob*, kKnobCount> knobs{};
    std::array<ValueDisplay*, kKnobCount> displays{};
    std::array<ToggleButton*, kToggleCount> toggles{};
    // Set between open and close; setParameter touches controls only while it is.
    std::atomic<bool> controlsLive{false};
    std::atomic<std::int32_t> controlWriters{0};  // setParameter calls inside their stores
};

// The plug-in's editor factory: a new editor, or null when memory runs out.
EditorInterface* createReverbEditor(EditorConnection& connection, EffectBase* effect);
