// The reverb as the VST 2 host sees it: the effect joined to its editor.
// Every parameter change, from the host, from the editor's controls or from a
// program change, passes through setParameter here and reaches the editor.
//
// The editor: the factory handed to the constructor allocates it with
// new(std::nothrow) and answers null when memory runs out. The editor's base
// attaches it to the instance (which owns and deletes it from then on). When
// it also implements ParameterListener, it hears every setParameter after the
// engine. A null factory gives an instance without editor (flags 0x1C).
#pragma once

#include "editor/editor_connection.h"
#include "editor/parameter_listener.h"
#include "frame/editor_interface.h"
#include "reverb/parameter_table.h"
#include "vst2/reverb_effect.h"

using EditorFactory = EditorInterface* (*)(EditorConnection& connection, EffectBase* effect);

class ReverbPlugin : public ReverbEffect, private EditorConnection {
public:
    // Sets the process-wide outOfMemory when the factory cannot make the editor.
    ReverbPlugin(HostCallback hostCallback, EditorFactory makeEditor);
    ~ReverbPlugin() override = default;

    void setParameter(std::int32_t index, float value) override;

private:
    // The editor's edits go to the host as automation, exactly as a VST 2
    // editor's do; the host hears no gestures.
    void beginGesture(ParameterId) override {}
    void setFromEditor(ParameterId id, float value) override { automateParameter(id, value); }
    void endGesture(ParameterId) override {}
    float parameterValue(ParameterId id) const override { return getEngine().parameter(id); }
    float storedValue(ParameterId id) const override { return factoryValue(curProgram, id); }

    ParameterListener* parameterListener = nullptr;  // the editor's, fixed at construction
};
