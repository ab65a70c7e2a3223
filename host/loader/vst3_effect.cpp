#include "host/loader/vst3_effect.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "host/loader/record_binding.h"
#include "vst3_interface/interface_query.h"
#include "vst3_interface/utf16_text.h"

namespace {

#if defined(_WIN32)
const char* const kModuleEntryName = "InitDll";
const char* const kModuleExitName = "ExitDll";
#if defined(_WIN64)
const char* const kBundleArchitecture = "x86_64-win";
#else
const char* const kBundleArchitecture = "x86-win";
#endif
const char* const kModuleSuffix = ".vst3";
#else
const char* const kModuleEntryName = "ModuleEntry";
const char* const kModuleExitName = "ModuleExit";
#if defined(__aarch64__)
const char* const kBundleArchitecture = "aarch64-linux";
#elif defined(__i386__)
const char* const kBundleArchitecture = "i386-linux";
#else
const char* const kBundleArchitecture = "x86_64-linux";
#endif
const char* const kModuleSuffix = ".so";
#endif
const char* const kAudioEffectCategory = "Audio Module Class";

using GetFactory = Steinberg_IPluginFactory*(SMTG_STDMETHODCALLTYPE*)();

std::string asciiOf(const Steinberg_char16* text) {
    char ascii[Utf16Text::kString128Size] = {};
    Utf16Text::toAscii(reinterpret_cast<const char16_t*>(text), ascii, sizeof ascii);
    return ascii;
}

}  // namespace

std::string Vst3Effect::moduleFile(const std::string& path) {
    std::error_code error;
    // Normal form: one kind of separator, whatever the user typed.
    const std::filesystem::path bundle = std::filesystem::path(path).lexically_normal();
    if (!std::filesystem::is_directory(bundle, error)) return path;
    const std::string name = bundle.filename().empty() ? bundle.parent_path().stem().string() : bundle.stem().string();
    return (bundle / "Contents" / kBundleArchitecture / (name + kModuleSuffix)).string();
}

std::unique_ptr<Vst3Effect> Vst3Effect::load(PluginLibrary& library, const std::string& path, HostCallback callback,
                                             std::string& error) {
    auto getFactory = reinterpret_cast<GetFactory>(library.findSymbol("GetPluginFactory"));
    if (getFactory == nullptr) {
        error = path + " has no GetPluginFactory: not a VST 3 module";
        return nullptr;
    }
    std::unique_ptr<Vst3Effect> hosted(new Vst3Effect);
    hosted->callback = callback;
    if (!hosted->enterModule(library, path, error)) return nullptr;
    hosted->factory = getFactory();
    if (!hosted->create(path, error)) return nullptr;
    return hosted;
}

bool Vst3Effect::enterModule(PluginLibrary& library, const std::string& path, std::string& error) {
#if defined(_WIN32)
    auto entry = reinterpret_cast<bool(SMTG_STDMETHODCALLTYPE*)()>(library.findSymbol(kModuleEntryName));
    const bool entered = entry == nullptr || entry();
#else
    auto entry = reinterpret_cast<bool (*)(void*)>(library.findSymbol(kModuleEntryName));
    const bool entered = entry == nullptr || entry(library.nativeHandle());
#endif
    if (!entered) {
        error = path + ": the module's " + kModuleEntryName + " refused to start";
        return false;
    }
    moduleExit = reinterpret_cast<ModuleExit>(library.findSymbol(kModuleExitName));
    return true;
}

bool Vst3Effect::create(const std::string& path, std::string& error) {
    if (factory == nullptr || !createComponent()) {
        error = path + ": the VST 3 module offers no audio effect that could be created";
        return false;
    }
    processor = queried<Steinberg_Vst_IAudioProcessor>(component, Steinberg_Vst_IAudioProcessor_iid);
    controller = queried<Steinberg_Vst_IEditController>(component, Steinberg_Vst_IEditController_iid);
    if (processor == nullptr || controller == nullptr) {
        // A controller of its own class would need the two connected and kept in step: not supported.
        error = path + ": the VST 3 effect has no audio processor, or its edit controller is a separate class";
        return false;
    }
    controller->lpVtbl->setComponentHandler(controller, componentHandler.handler());
    Steinberg_Vst_SpeakerArrangement stereoIn = Steinberg_Vst_SpeakerArr_kStereo;
    Steinberg_Vst_SpeakerArrangement stereoOut = Steinberg_Vst_SpeakerArr_kStereo;
    processor->lpVtbl->setBusArrangements(processor, &stereoIn, 1, &stereoOut, 1);
    component->lpVtbl->activateBus(component, Steinberg_Vst_MediaTypes_kAudio, Steinberg_Vst_BusDirections_kInput, 0,
                                   1);
    component->lpVtbl->activateBus(component, Steinberg_Vst_MediaTypes_kAudio, Steinberg_Vst_BusDirections_kOutput, 0,
                                   1);
    readParameters();
    readPrograms();
    fillRecord();
    return true;
}

bool Vst3Effect::createComponent() {
    Steinberg_PFactoryInfo factoryInfo{};
    if (factory->lpVtbl->getFactoryInfo(factory, &factoryInfo) == Steinberg_kResultOk) vendor = factoryInfo.vendor;
    component = createAudioEffect(factory, className);
    return component != nullptr;
}

Steinberg_Vst_IComponent* Vst3Effect::createAudioEffect(Steinberg_IPluginFactory* factory, std::string& className) {
    const Steinberg_int32 classes = factory->lpVtbl->countClasses(factory);
    for (Steinberg_int32 index = 0; index < classes; ++index) {
        Steinberg_PClassInfo info{};
        if (factory->lpVtbl->getClassInfo(factory, index, &info) != Steinberg_kResultOk ||
            std::strncmp(info.category, kAudioEffectCategory, sizeof info.category) != 0)
            continue;
        void* made = nullptr;
        if (factory->lpVtbl->createInstance(factory, info.cid, Steinberg_Vst_IComponent_iid, &made) !=
                Steinberg_kResultOk ||
            made == nullptr)
            continue;
        auto* component = static_cast<Steinberg_Vst_IComponent*>(made);
        if (component->lpVtbl->initialize(component, nullptr) != Steinberg_kResultOk) {
            releaseInterface(component);
            continue;
        }
        className.assign(info.name, strnlen(info.name, sizeof info.name));
        return component;
    }
    return nullptr;
}

void Vst3Effect::readParameters() {
    const Steinberg_int32 count = controller->lpVtbl->getParameterCount(controller);
    for (Steinberg_int32 index = 0; index < count; ++index) {
        Steinberg_Vst_ParameterInfo info{};
        if (controller->lpVtbl->getParameterInfo(controller, index, &info) != Steinberg_kResultOk) continue;
        if ((info.flags & Steinberg_Vst_ParameterInfo_ParameterFlags_kIsProgramChange) != 0) {
            hasProgramParameter = true;
            programParameter = info.id;
        } else {
            parameterIds.push_back(info.id);
            parameterNames.push_back(asciiOf(info.title));
            parameterUnits.push_back(asciiOf(info.units));
        }
    }
    pendingChanges = std::make_unique<Vst3ParameterChanges>(parameterIds.size() + 1);
}

// The program list of the root unit, the one the program-change parameter selects in.
void Vst3Effect::readPrograms() {
    auto* units = queried<Steinberg_Vst_IUnitInfo>(controller, Steinberg_Vst_IUnitInfo_iid);
    if (units == nullptr || !hasProgramParameter) {
        releaseInterface(units);
        return;
    }
    Steinberg_Vst_ProgramListID listId = Steinberg_Vst_kNoProgramListId;
    for (Steinberg_int32 index = 0; index < units->lpVtbl->getUnitCount(units); ++index) {
        Steinberg_Vst_UnitInfo unit{};
        if (units->lpVtbl->getUnitInfo(units, index, &unit) == Steinberg_kResultOk &&
            unit.id == Steinberg_Vst_kRootUnitId)
            listId = unit.programListId;
    }
    for (Steinberg_int32 index = 0; index < units->lpVtbl->getProgramListCount(units); ++index) {
        Steinberg_Vst_ProgramListInfo list{};
        if (units->lpVtbl->getProgramListInfo(units, index, &list) != Steinberg_kResultOk || list.id != listId)
            continue;
        for (Steinberg_int32 program = 0; program < list.programCount; ++program) {
            Steinberg_Vst_String128 name = {};
            units->lpVtbl->getProgramName(units, listId, program, name);
            programNames.push_back(asciiOf(name));
        }
    }
    releaseInterface(units);
}

void Vst3Effect::fillRecord() {
    bindRecord(record, *this);
    record.numPrograms = static_cast<std::int32_t>(programNames.size());
    record.numParams = static_cast<std::int32_t>(parameterIds.size());
    record.flags = effFlagsCanReplacing | effFlagsHasEditor;
}

Vst3Effect::~Vst3Effect() {
    if (component != nullptr) {
        closeEditor();
        switchOn(false);
        if (controller != nullptr) controller->lpVtbl->setComponentHandler(controller, nullptr);
        component->lpVtbl->terminate(component);
    }
    releaseInterface(controller);
    releaseInterface(processor);
    releaseInterface(component);
    releaseInterface(factory);
    if (moduleExit != nullptr) moduleExit();
}

VstIntPtr Vst3Effect::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effSetSampleRate: sampleRate = opt > 0.0f ? opt : sampleRate; return 0;
        case effSetBlockSize: maxBlockFrames = value > 0 ? static_cast<std::int32_t>(value) : maxBlockFrames; return 0;
        case effMainsChanged: switchOn(value != 0); return 0;
        case effGetProgram: return currentProgram;
        case effSetProgram: selectProgram(static_cast<std::int32_t>(value)); return 0;
        case effGetProgramName:
            if (text != nullptr) copyVstText(text, programNames.empty() ? "" : programNames[currentProgram]);
            return 1;
        case effGetProgramNameIndexed:
            if (text == nullptr || index < 0 || index >= record.numPrograms) return 0;
            copyVstText(text, programNames[index]);
            return 1;
        case effGetParamName:
        case effGetParamDisplay:
        case effGetParamLabel: return text != nullptr && parameterText(opcode, index, text) ? 1 : 0;
        case effGetEffectName:
        case effGetProductString:
            if (text != nullptr) copyVstText(text, className);
            return 1;
        case effGetVendorString:
            if (text != nullptr) copyVstText(text, vendor);
            return 1;
        case effEditGetRect: return editorRect(ptr);
        case effEditOpen: return openEditor(ptr) ? 1 : 0;
        case effEditClose: closeEditor(); return 0;
        case effEditIdle: editor.idle(); return 0;
        default: return 0;
    }
}

void Vst3Effect::setParameter(std::int32_t index, float value) {
    if (index < 0 || index >= record.numParams) return;
    setNormalized(parameterIds[index], value);
}

float Vst3Effect::getParameter(std::int32_t index) const {
    if (index < 0 || index >= record.numParams) return 0.0f;
    return static_cast<float>(controller->lpVtbl->getParamNormalized(controller, parameterIds[index]));
}

void Vst3Effect::setNormalized(Steinberg_Vst_ParamID id, double normalized) {
    controller->lpVtbl->setParamNormalized(controller, id, normalized);
    pendingChanges->set(id, normalized);
}

void Vst3Effect::onEdit(void* context, Steinberg_Vst_ParamID id, double normalized) {
    auto& hosted = *static_cast<Vst3Effect*>(context);
    hosted.pendingChanges->set(id, normalized);
    const auto found = std::find(hosted.parameterIds.begin(), hosted.parameterIds.end(), id);
    if (found == hosted.parameterIds.end()) return;
    const auto index = static_cast<std::int32_t>(found - hosted.parameterIds.begin());
    hosted.callback(&hosted.record, audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void Vst3Effect::switchOn(bool on) {
    if (on == active) return;
    if (!on) {
        processor->lpVtbl->setProcessing(processor, 0);
        component->lpVtbl->setActive(component, 0);
        active = false;
        return;
    }
    Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kRealtime, Steinberg_Vst_SymbolicSampleSizes_kSample32,
                                     maxBlockFrames, sampleRate};
    if (processor->lpVtbl->setupProcessing(processor, &setup) != Steinberg_kResultOk ||
        component->lpVtbl->setActive(component, 1) != Steinberg_kResultOk)
        return;
    processor->lpVtbl->setProcessing(processor, 1);
    active = true;
    // What was set while switched off reaches the processor before any audio, as hosts flush it.
    if (!pendingChanges->empty()) processChanges(nullptr, nullptr, 0);
}

void Vst3Effect::process(float** inputs, float** outputs, std::int32_t frames) {
    if (active && frames > 0) processChanges(inputs, outputs, frames);
}

void Vst3Effect::processChanges(float** inputs, float** outputs, std::int32_t frames) {
    Steinberg_Vst_AudioBusBuffers input{}, output{};
    input.numChannels = output.numChannels = 2;
    input.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = inputs;
    output.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = outputs;
    Steinberg_Vst_ProcessData data{};
    data.processMode = Steinberg_Vst_ProcessModes_kRealtime;
    data.symbolicSampleSize = Steinberg_Vst_SymbolicSampleSizes_kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = frames > 0 ? 1 : 0;
    data.inputs = frames > 0 ? &input : nullptr;
    data.outputs = frames > 0 ? &output : nullptr;
    data.inputParameterChanges = pendingChanges->empty() ? nullptr : pendingChanges->changes();
    processor->lpVtbl->process(processor, &data);
    pendingChanges->clear();
}

void Vst3Effect::selectProgram(std::int32_t program) {
    if (program < 0 || program >= record.numPrograms) return;
    const double normalized = record.numPrograms > 1 ? static_cast<double>(program) / (record.numPrograms - 1) : 0.0;
    setNormalized(programParameter, normalized);
    currentProgram = program;
}

bool Vst3Effect::parameterText(std::int32_t opcode, std::int32_t index, char* text) const {
    if (index < 0 || index >= record.numParams) return false;
    const Steinberg_Vst_ParamID id = parameterIds[index];
    if (opcode == effGetParamDisplay) {
        Steinberg_Vst_String128 display = {};
        const double value = controller->lpVtbl->getParamNormalized(controller, id);
        if (controller->lpVtbl->getParamStringByValue(controller, id, value, display) != Steinberg_kResultOk)
            return false;
        copyVstText(text, asciiOf(display));
        return true;
    }
    copyVstText(text, opcode == effGetParamName ? parameterNames[index] : parameterUnits[index]);
    return true;
}

VstIntPtr Vst3Effect::editorRect(void* rectOut) {
    if (rectOut == nullptr) return 0;
    // Asked before the editor exists: a view made for the answer, as hosts do.
    Steinberg_IPlugView* view = editor.view();
    Steinberg_IPlugView* sized = view != nullptr ? view : controller->lpVtbl->createView(controller, "editor");
    Steinberg_ViewRect rect{};
    const bool known = sized != nullptr && sized->lpVtbl->getSize(sized, &rect) == Steinberg_kResultOk;
    if (sized != nullptr && sized != view) sized->lpVtbl->release(sized);
    if (!known) return 0;
    editorArea = {static_cast<std::int16_t>(rect.top), static_cast<std::int16_t>(rect.left),
                  static_cast<std::int16_t>(rect.bottom), static_cast<std::int16_t>(rect.right)};
    *static_cast<ERect**>(rectOut) = &editorArea;
    return 1;
}

bool Vst3Effect::openEditor(void* parentWindow) { return editor.open(controller, parentWindow); }

void Vst3Effect::closeEditor() { editor.close(); }
