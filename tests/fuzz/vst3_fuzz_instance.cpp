#include "tests/fuzz/vst3_fuzz_instance.h"

#include "vst3/plugin_factory.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/interface_query.h"

Vst3FuzzInstance::Vst3FuzzInstance() {
    Steinberg_IPluginFactory* factory = PluginFactory::instance();
    void* instance = nullptr;
    if (factory->lpVtbl->createInstance(factory, kReverbClassId, Steinberg_Vst_IComponent_iid, &instance) !=
        Steinberg_kResultOk)
        return;
    component = static_cast<Steinberg_Vst_IComponent*>(instance);
    if (component->lpVtbl->initialize(component, nullptr) != Steinberg_kResultOk) return;
    processor = queried<Steinberg_Vst_IAudioProcessor>(component, Steinberg_Vst_IAudioProcessor_iid);
    controller = queried<Steinberg_Vst_IEditController>(component, Steinberg_Vst_IEditController_iid);
    if (!made()) return;
    Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kRealtime, Steinberg_Vst_SymbolicSampleSizes_kSample32,
                                     kMaxBlockFrames, kSampleRate};
    processor->lpVtbl->setupProcessing(processor, &setup);
    component->lpVtbl->setActive(component, 1);
    processor->lpVtbl->setProcessing(processor, 1);
}

Vst3FuzzInstance::~Vst3FuzzInstance() {
    if (made()) {
        processor->lpVtbl->setProcessing(processor, 0);
        component->lpVtbl->setActive(component, 0);
    }
    if (component != nullptr) component->lpVtbl->terminate(component);
    releaseInterface(controller);
    releaseInterface(processor);
    releaseInterface(component);
}

Steinberg_tresult Vst3FuzzInstance::process(NoiseBlock& block, ParameterChangeList* changes) {
    StereoProcessData data(block.left.data(), block.right.data(), block.frames(),
                           changes != nullptr ? changes->changes() : nullptr);
    return processor->lpVtbl->process(processor, data.data());
}

void Vst3FuzzInstance::clearSignal() {
    processor->lpVtbl->setProcessing(processor, 0);
    component->lpVtbl->setActive(component, 0);
    component->lpVtbl->setActive(component, 1);
    processor->lpVtbl->setProcessing(processor, 1);
}

std::vector<std::uint8_t> Vst3FuzzInstance::componentState() {
    MemoryStream stream;
    if (component->lpVtbl->getState(component, stream.stream()) != Steinberg_kResultOk) return {};
    return stream.bytes();
}

std::vector<std::uint8_t> Vst3FuzzInstance::controllerState() {
    MemoryStream stream;
    if (controller->lpVtbl->getState(controller, stream.stream()) != Steinberg_kResultOk) return {};
    return stream.bytes();
}

Steinberg_tresult Vst3FuzzInstance::setComponentState(const std::vector<std::uint8_t>& bytes, std::int32_t maxRead) {
    MemoryStream stream(bytes, maxRead);
    return component->lpVtbl->setState(component, stream.stream());
}

Steinberg_tresult Vst3FuzzInstance::setControllerState(const std::vector<std::uint8_t>& bytes, std::int32_t maxRead) {
    MemoryStream stream(bytes, maxRead);
    return controller->lpVtbl->setState(controller, stream.stream());
}
