// The controller half of the VST 3 plug-in: the values as the host and the
// editor see them (its own copy of the programs and the bypass, which the
// host keeps in step with the processor's through its parameter changes),
// the edits the editor sends to the host, and the program list.
//
// Threads: every call on the host's main (UI) thread, except parameterValue,
// which the editor may call from any thread.
#pragma once

#include <vst3_c_api.h>

#include <atomic>
#include <cstdint>

#include "editor/editor_connection.h"
#include "editor/parameter_listener.h"
#include "reverb/parameter_table.h"
#include "reverb/program_bank.h"
#include "vst3/vst3_state.h"

class ReverbEditController : public EditorConnection {
public:
    ReverbEditController() = default;
    ReverbEditController(const ReverbEditController&) = delete;
    ReverbEditController& operator=(const ReverbEditController&) = delete;
    ~ReverbEditController() { setComponentHandler(nullptr); }

    // Holds a reference to the host's handler until another one (or null) replaces it.
    void setComponentHandler(Steinberg_Vst_IComponentHandler* handler);

    void loadState(const Vst3State& state);
    Vst3State saveState() const;

    // False for an id the host does not know.
    bool setNormalized(Steinberg_Vst_ParamID id, double normalized);
    double normalized(Steinberg_Vst_ParamID id) const;
    const ProgramBank& programs() const { return bank; }

    // The factor the editor is drawn at, kept in the state; a new view starts at it.
    void setEditorScale(float factor) { editorScaleFactor = factor; }
    float editorScale() const { return editorScaleFactor; }

    // The open editor hears every change of a value; null when none is open.
    void setEditorListener(ParameterListener* listener) { editorListener = listener; }

    // EditorConnection: the editor's gestures become the host's
    // beginEdit / performEdit / endEdit; "About" stays with the editor.
    void beginGesture(ParameterId id) override;
    void setFromEditor(ParameterId id, float value) override;
    void endGesture(ParameterId id) override;
    float parameterValue(ParameterId id) const override { return bank.valueOf(bank.current(), id); }
    float storedValue(ParameterId id) const override { return factoryValue(bank.current(), id); }

private:
    void tellEditorAll();
    void tellEditor(ParameterId id);

    ProgramBank bank;
    bool bypassed = false;
    float editorScaleFactor = 1.0f;
    Steinberg_Vst_IComponentHandler* componentHandler = nullptr;
    std::atomic<ParameterListener*> editorListener{nullptr};
};
