// The reverb as the host sees it: the engine joined to its editor. Every
// parameter change, from the host, from the editor's controls or from a
// program change, passes through setParameter here and reaches the editor.
//
// The editor: the factory handed to the constructor allocates it with
// new(std::nothrow) and answers null when memory runs out. The editor's base
// attaches it to the instance (which owns and deletes it from then on). When
// it also implements ParameterListener, it hears every setParameter after the
// engine. A null factory gives an instance without editor (flags 0x1C).
#pragma once

#include "frame/editor_interface.h"
#include "reverb/parameter_listener.h"
#include "reverb/reverb_effect.h"

class ReverbPlugin;
using EditorFactory = EditorInterface* (*)(ReverbPlugin& plugin);

class ReverbPlugin : public ReverbEffect {
public:
    static constexpr std::int32_t kUniqueId = 0x5175617A;  // 'Quaz'

    // Sets the process-wide outOfMemory when the factory cannot make the editor.
    ReverbPlugin(HostCallback hostCallback, EditorFactory makeEditor);
    ~ReverbPlugin() override = default;

    void setParameter(std::int32_t index, float value) override;

private:
    ParameterListener* parameterListener = nullptr;  // the editor's, fixed at construction
};
