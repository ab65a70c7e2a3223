// A .vst3 bundle's module loaded as a VST 3 host loads it (ModuleEntry,
// GetPluginFactory, the first audio effect class) and driven through the C
// interface. Automation from the automation thread and values from the main
// thread (programs through the program-change parameter, the editor's edits)
// travel through two ValueQueues, keyed by parameter id, into the changes of
// the next process call at offset 0, held in a Vst3ParameterChanges made
// once. The state is the component's state followed by the controller's; the
// editor is the controller's "editor" view in a frame whose run-loop timers
// the main thread fires.
#pragma once

#include <vst3_c_api.h>

#include <memory>
#include <string>
#include <vector>

#include "host/loader/plugin_library.h"
#include "host/loader/vst3_component_handler.h"
#include "host/loader/vst3_editor_view.h"
#include "host/loader/vst3_parameter_changes.h"
#include "tests/soak/soak_instance.h"
#include "tests/soak/value_queue.h"

class Vst3Instance : public SoakInstance {
public:
    // bundle: the .vst3 folder (or the module file in it).
    static std::unique_ptr<Vst3Instance> load(const std::string& bundle, float sampleRate, std::int32_t maxBlockFrames,
                                              std::string& error);
    ~Vst3Instance() override;
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    int parameterCount() const override { return static_cast<int>(parameterIds.size()); }
    int programCount() const override { return programs; }
    void process(float* const* inputs, float* const* outputs, std::int32_t frames) override;
    void automate(std::int32_t index, float value) override;
    void selectProgram(std::int32_t program) override;
    std::vector<std::uint8_t> saveState() override;
    bool restoreState(const std::vector<std::uint8_t>& state) override;
    void restart() override;
    bool openEditor(std::uintptr_t parentWindow) override;
    void idleEditor() override;
    void closeEditor() override;

private:
    Vst3Instance() = default;
    bool create(const std::string& modulePath, float sampleRate, std::int32_t maxBlockFrames, std::string& error);
    void readParameters();
    bool switchOn(bool on);
    // Main thread: an edit the editor reports goes to the processor as automation does.
    static void onEdit(void* context, Steinberg_Vst_ParamID id, double normalized);

    using ModuleExit = bool (*)();

    PluginLibrary library;
    ModuleExit moduleExit = nullptr;
    Steinberg_IPluginFactory* factory = nullptr;
    Steinberg_Vst_IComponent* component = nullptr;
    Steinberg_Vst_IAudioProcessor* processor = nullptr;
    Steinberg_Vst_IEditController* controller = nullptr;
    Steinberg_Vst_ProcessSetup setup{};
    bool active = false;

    // Sound parameters by the soak's index: all but bypass and the program change.
    std::vector<Steinberg_Vst_ParamID> parameterIds;
    Steinberg_Vst_ParamID programParameter = 0;
    int programs = 0;

    // QueuedValue::index carries the parameter id.
    ValueQueue automation;  // from the automation thread
    ValueQueue control;     // from the main thread
    // The audio thread's changes for its next block; sized at creation for every parameter.
    std::unique_ptr<Vst3ParameterChanges> blockChanges;

    Vst3ComponentHandler componentHandler{onEdit, this};
    Vst3EditorView editor;
};
