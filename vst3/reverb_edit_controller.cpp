#include "vst3/reverb_edit_controller.h"

#include "vst3/host_parameters.h"
#include "vst3/vst3_ids.h"

void ReverbEditController::setComponentHandler(Steinberg_Vst_IComponentHandler* handler) {
    if (handler == componentHandler) return;
    if (handler != nullptr) handler->lpVtbl->addRef(handler);
    if (componentHandler != nullptr) componentHandler->lpVtbl->release(componentHandler);
    componentHandler = handler;
}

void ReverbEditController::loadState(const Vst3State& state) {
    state.programs.applyTo(bank);
    bypassed = state.bypassed;
    editorScaleFactor = state.programs.editorScale;
    tellEditorAll();
}

Vst3State ReverbEditController::saveState() const {
    Vst3State state;
    state.programs = PluginState::of(bank);
    state.programs.editorScale = editorScaleFactor;
    state.bypassed = bypassed;
    return state;
}

bool ReverbEditController::setNormalized(Steinberg_Vst_ParamID id, double normalized) {
    if (HostParameters::isSoundParameter(id)) {
        bank.store(static_cast<std::int32_t>(id), HostParameters::modelValue(id, normalized));
        tellEditor(static_cast<ParameterId>(id));
        return true;
    }
    if (id == kBypassParamId) {
        bypassed = HostParameters::isOn(normalized);
        return true;
    }
    if (id != kProgramParamId) return false;
    const std::int32_t program = HostParameters::programOf(normalized);
    if (program == bank.current()) return true;
    bank.select(program);
    tellEditorAll();
    // Every value the host reads from us changed with the program.
    if (componentHandler != nullptr)
        componentHandler->lpVtbl->restartComponent(componentHandler, Steinberg_Vst_RestartFlags_kParamValuesChanged);
    return true;
}

double ReverbEditController::normalized(Steinberg_Vst_ParamID id) const {
    if (HostParameters::isSoundParameter(id)) return bank.valueOf(bank.current(), static_cast<ParameterId>(id));
    if (id == kBypassParamId) return bypassed ? 1.0 : 0.0;
    if (id == kProgramParamId) return HostParameters::normalizedProgram(bank.current());
    return 0.0;
}

void ReverbEditController::beginGesture(ParameterId id) {
    if (componentHandler != nullptr && HostParameters::isSoundParameter(id))
        componentHandler->lpVtbl->beginEdit(componentHandler, static_cast<Steinberg_Vst_ParamID>(id));
}

void ReverbEditController::setFromEditor(ParameterId id, float value) {
    bank.store(id, value);
    if (componentHandler != nullptr && HostParameters::isSoundParameter(id))
        componentHandler->lpVtbl->performEdit(componentHandler, static_cast<Steinberg_Vst_ParamID>(id), value);
    tellEditor(id);
}

void ReverbEditController::endGesture(ParameterId id) {
    if (componentHandler != nullptr && HostParameters::isSoundParameter(id))
        componentHandler->lpVtbl->endEdit(componentHandler, static_cast<Steinberg_Vst_ParamID>(id));
}

void ReverbEditController::tellEditor(ParameterId id) {
    ParameterListener* listener = editorListener.load(std::memory_order_acquire);
    if (listener != nullptr) listener->setParameter(id, parameterValue(id));
}

void ReverbEditController::tellEditorAll() {
    for (std::int32_t index = 0; index < kParameterCount; ++index) tellEditor(static_cast<ParameterId>(index));
}
