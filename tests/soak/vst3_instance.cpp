#include "tests/soak/vst3_instance.h"

#include "host/loader/vst3_effect.h"
#include "tests/vst3/host_objects.h"
#include "vst3_interface/interface_query.h"

namespace {

using GetFactory = Steinberg_IPluginFactory* (*)();
using ModuleEntry = bool (*)(void*);

// The saved state: the component's byte count (4 bytes, little end first),
// the component's bytes, then the controller's.
constexpr std::size_t kLengthBytes = 4;

void appendLength(std::vector<std::uint8_t>& bytes, std::size_t length) {
    for (std::size_t i = 0; i < kLengthBytes; ++i) bytes.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
}

std::size_t readLength(const std::vector<std::uint8_t>& bytes) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < kLengthBytes; ++i) length |= static_cast<std::size_t>(bytes[i]) << (8 * i);
    return length;
}

}  // namespace

std::unique_ptr<Vst3Instance> Vst3Instance::load(const std::string& bundle, float sampleRate,
                                                 std::int32_t maxBlockFrames, std::string& error) {
    std::unique_ptr<Vst3Instance> instance(new Vst3Instance);
    if (!instance->create(Vst3Effect::moduleFile(bundle), sampleRate, maxBlockFrames, error)) return nullptr;
    return instance;
}

bool Vst3Instance::create(const std::string& modulePath, float sampleRate, std::int32_t maxBlockFrames,
                          std::string& error) {
    if (!library.open(modulePath, error)) return false;
    auto entry = reinterpret_cast<ModuleEntry>(library.findSymbol("ModuleEntry"));
    auto getFactory = reinterpret_cast<GetFactory>(library.findSymbol("GetPluginFactory"));
    if (entry == nullptr || getFactory == nullptr || !entry(library.nativeHandle())) {
        error = modulePath + ": no ModuleEntry or GetPluginFactory, or the entry refused";
        return false;
    }
    moduleExit = reinterpret_cast<ModuleExit>(library.findSymbol("ModuleExit"));
    factory = getFactory();
    std::string className;
    component = factory != nullptr ? Vst3Effect::createAudioEffect(factory, className) : nullptr;
    if (component == nullptr) {
        error = modulePath + ": the factory made no audio effect";
        return false;
    }
    processor = queried<Steinberg_Vst_IAudioProcessor>(component, Steinberg_Vst_IAudioProcessor_iid);
    controller = queried<Steinberg_Vst_IEditController>(component, Steinberg_Vst_IEditController_iid);
    if (processor == nullptr || controller == nullptr) {
        error = modulePath + ": no audio processor or edit controller on the component";
        return false;
    }
    controller->lpVtbl->setComponentHandler(controller, componentHandler.handler());
    Steinberg_Vst_SpeakerArrangement stereoIn = Steinberg_Vst_SpeakerArr_kStereo;
    Steinberg_Vst_SpeakerArrangement stereoOut = Steinberg_Vst_SpeakerArr_kStereo;
    processor->lpVtbl->setBusArrangements(processor, &stereoIn, 1, &stereoOut, 1);
    readParameters();
    setup = {Steinberg_Vst_ProcessModes_kRealtime, Steinberg_Vst_SymbolicSampleSizes_kSample32, maxBlockFrames,
             sampleRate};
    if (!switchOn(true)) {
        error = modulePath + ": setupProcessing or setActive failed";
        return false;
    }
    return true;
}

void Vst3Instance::readParameters() {
    const Steinberg_int32 count = controller->lpVtbl->getParameterCount(controller);
    for (Steinberg_int32 index = 0; index < count; ++index) {
        Steinberg_Vst_ParameterInfo info{};
        if (controller->lpVtbl->getParameterInfo(controller, index, &info) != Steinberg_kResultOk) continue;
        if ((info.flags & Steinberg_Vst_ParameterInfo_ParameterFlags_kIsProgramChange) != 0) {
            programParameter = info.id;
            programs = info.stepCount + 1;
        } else if ((info.flags & Steinberg_Vst_ParameterInfo_ParameterFlags_kIsBypass) == 0) {
            parameterIds.push_back(info.id);
        }
    }
    blockChanges = std::make_unique<Vst3ParameterChanges>(static_cast<std::size_t>(count));
}

bool Vst3Instance::switchOn(bool on) {
    if (on == active) return true;
    if (!on) {
        processor->lpVtbl->setProcessing(processor, 0);
        component->lpVtbl->setActive(component, 0);
        active = false;
        return true;
    }
    if (processor->lpVtbl->setupProcessing(processor, &setup) != Steinberg_kResultOk ||
        component->lpVtbl->setActive(component, 1) != Steinberg_kResultOk)
        return false;
    processor->lpVtbl->setProcessing(processor, 1);
    active = true;
    return true;
}

Vst3Instance::~Vst3Instance() {
    if (component != nullptr) {
        editor.close();
        if (processor != nullptr) switchOn(false);
        if (controller != nullptr) controller->lpVtbl->setComponentHandler(controller, nullptr);
        component->lpVtbl->terminate(component);
    }
    releaseInterface(controller);
    releaseInterface(processor);
    releaseInterface(component);
    releaseInterface(factory);
    if (moduleExit != nullptr) moduleExit();
}

void Vst3Instance::process(float* const* inputs, float* const* outputs, std::int32_t frames) {
    const auto change = [this](const QueuedValue& queued) {
        blockChanges->set(static_cast<Steinberg_Vst_ParamID>(queued.index), queued.value);
    };
    control.drain(change);
    automation.drain(change);
    Steinberg_Vst_AudioBusBuffers input{}, output{};
    input.numChannels = output.numChannels = 2;
    input.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = const_cast<float**>(inputs);
    output.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = const_cast<float**>(outputs);
    Steinberg_Vst_ProcessData data{};
    data.processMode = Steinberg_Vst_ProcessModes_kRealtime;
    data.symbolicSampleSize = Steinberg_Vst_SymbolicSampleSizes_kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    data.inputParameterChanges = blockChanges->empty() ? nullptr : blockChanges->changes();
    processor->lpVtbl->process(processor, &data);
    blockChanges->clear();
}

void Vst3Instance::automate(std::int32_t index, float value) {
    if (index < 0 || index >= parameterCount()) return;
    automation.push({static_cast<std::int32_t>(parameterIds[static_cast<std::size_t>(index)]), value});
}

// As a host does: the controller hears of the program at once, the processor with the next block.
void Vst3Instance::selectProgram(std::int32_t program) {
    if (program < 0 || program >= programs) return;
    const double normalized = programs > 1 ? static_cast<double>(program) / (programs - 1) : 0.0;
    controller->lpVtbl->setParamNormalized(controller, programParameter, normalized);
    control.push({static_cast<std::int32_t>(programParameter), static_cast<float>(normalized)});
}

std::vector<std::uint8_t> Vst3Instance::saveState() {
    MemoryStream componentStream, controllerStream;
    if (component->lpVtbl->getState(component, componentStream.stream()) != Steinberg_kResultOk ||
        controller->lpVtbl->getState(controller, controllerStream.stream()) != Steinberg_kResultOk)
        return {};
    std::vector<std::uint8_t> bytes;
    appendLength(bytes, componentStream.bytes().size());
    bytes.insert(bytes.end(), componentStream.bytes().begin(), componentStream.bytes().end());
    bytes.insert(bytes.end(), controllerStream.bytes().begin(), controllerStream.bytes().end());
    return bytes;
}

// The component's state goes to the component and, as setComponentState, to
// the controller; then the controller's own.
bool Vst3Instance::restoreState(const std::vector<std::uint8_t>& state) {
    if (state.size() < kLengthBytes || readLength(state) > state.size() - kLengthBytes) return false;
    const auto componentEnd = state.begin() + static_cast<std::ptrdiff_t>(kLengthBytes + readLength(state));
    const std::vector<std::uint8_t> componentBytes(state.begin() + kLengthBytes, componentEnd);
    MemoryStream componentStream(componentBytes), controllerCopy(componentBytes);
    MemoryStream controllerStream(std::vector<std::uint8_t>(componentEnd, state.end()));
    return component->lpVtbl->setState(component, componentStream.stream()) == Steinberg_kResultOk &&
           controller->lpVtbl->setComponentState(controller, controllerCopy.stream()) == Steinberg_kResultOk &&
           controller->lpVtbl->setState(controller, controllerStream.stream()) == Steinberg_kResultOk;
}

// Only while no block is processed: switching off and on clears the signal.
void Vst3Instance::restart() {
    switchOn(false);
    switchOn(true);
}

bool Vst3Instance::openEditor(std::uintptr_t parentWindow) {
    return editor.open(controller, reinterpret_cast<void*>(parentWindow));
}

void Vst3Instance::idleEditor() { editor.idle(); }

void Vst3Instance::closeEditor() { editor.close(); }

void Vst3Instance::onEdit(void* context, Steinberg_Vst_ParamID id, double normalized) {
    static_cast<Vst3Instance*>(context)->control.push({static_cast<std::int32_t>(id), static_cast<float>(normalized)});
}
