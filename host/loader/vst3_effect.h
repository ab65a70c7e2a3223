// A VST 3 plug-in hosted by our CLI behind the VST 2 record the commands
// already drive, as ClapEffect does for CLAP: render, info, bench, snapshot
// and edit run a .vst3 bundle (or the module file inside it) as they run a
// VST 2 file.
//
// What maps to what: the record's parameters are the controller's, in its
// order, without the program-change parameter; a value set goes to the
// controller at once and to the processor as a change at offset 0 of the
// next process call (a 0-frame call delivers what was set before
// switching on). Programs are the root unit's program list, selected
// through the program-change parameter. effMainsChanged is setActive and
// setProcessing; the editor opcodes are the controller's "editor" view in a
// frame whose run loop the CLI's idle tick drives. Edits the plug-in's
// editor reports reach the host callback as audioMasterAutomate.
//
// Threads: the CLI loads, sets, processes and edits from one thread.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/aeffect.h"
#include "host/loader/plugin_library.h"
#include "host/loader/vst3_component_handler.h"
#include "host/loader/vst3_editor_view.h"
#include "host/loader/vst3_parameter_changes.h"

class Vst3Effect {
public:
    // The module file inside a bundle folder for this platform and
    // architecture; any other path as it is.
    static std::string moduleFile(const std::string& path);
    // The library (the module file) is open; creates its first audio effect
    // class. Null with a one-line reason in error otherwise.
    static std::unique_ptr<Vst3Effect> load(PluginLibrary& library, const std::string& path, HostCallback callback,
                                            std::string& error);
    // The factory's first audio effect class that can be created and
    // initialized, its name in className; null when there is none.
    static Steinberg_Vst_IComponent* createAudioEffect(Steinberg_IPluginFactory* factory, std::string& className);
    ~Vst3Effect();
    Vst3Effect(const Vst3Effect&) = delete;
    Vst3Effect& operator=(const Vst3Effect&) = delete;

    AEffect* effect() { return &record; }

private:
    Vst3Effect() = default;
    bool enterModule(PluginLibrary& library, const std::string& path, std::string& error);
    bool create(const std::string& path, std::string& error);
    bool createComponent();
    void readParameters();
    void readPrograms();
    void fillRecord();
    template <typename Adapter>
    friend void bindRecord(AEffect& record, Adapter& adapter);

    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt);
    void setParameter(std::int32_t index, float value);
    float getParameter(std::int32_t index) const;
    void setNormalized(Steinberg_Vst_ParamID id, double normalized);
    void process(float** inputs, float** outputs, std::int32_t frames);
    void processChanges(float** inputs, float** outputs, std::int32_t frames);
    void switchOn(bool on);
    void selectProgram(std::int32_t program);
    bool parameterText(std::int32_t opcode, std::int32_t index, char* text) const;
    VstIntPtr editorRect(void* rectOut);
    bool openEditor(void* parentWindow);
    void closeEditor();
    // An edit of the plug-in's own editor: to the processor and the host.
    static void onEdit(void* context, Steinberg_Vst_ParamID id, double normalized);

#if defined(_WIN32)
    using ModuleExit = bool(SMTG_STDMETHODCALLTYPE*)();
#else
    using ModuleExit = bool (*)();
#endif

    AEffect record{};
    HostCallback callback = nullptr;
    ModuleExit moduleExit = nullptr;
    Steinberg_IPluginFactory* factory = nullptr;
    std::string className, vendor;
    Steinberg_Vst_IComponent* component = nullptr;
    Steinberg_Vst_IAudioProcessor* processor = nullptr;
    Steinberg_Vst_IEditController* controller = nullptr;
    std::vector<Steinberg_Vst_ParamID> parameterIds;          // by the record's index
    std::vector<std::string> parameterNames, parameterUnits;  // likewise, as the controller gave them at load
    bool hasProgramParameter = false;
    Steinberg_Vst_ParamID programParameter = 0;
    std::vector<std::string> programNames;
    std::int32_t currentProgram = 0;
    double sampleRate = 44100.0;
    std::int32_t maxBlockFrames = 4096;
    bool active = false;
    std::unique_ptr<Vst3ParameterChanges> pendingChanges;
    Vst3ComponentHandler componentHandler{onEdit, this};
    Vst3EditorView editor;
    ERect editorArea{};
};
