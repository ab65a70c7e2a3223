#include "host/loader/vst3_parameter_changes.h"

#include <algorithm>

Steinberg_Vst_IParamValueQueueVtbl Vst3ParameterChanges::Queue::table = {
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::queryInterface>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::addRef>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::release>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getParameterId>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getPointCount>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getPoint>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::addPoint>::call};

Steinberg_Vst_IParameterChangesVtbl Vst3ParameterChanges::table = {
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::queryInterface>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::addRef>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::release>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::getParameterCount>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::getParameterData>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &Vst3ParameterChanges::addParameterData>::call};

Vst3ParameterChanges::Vst3ParameterChanges(std::size_t parameterCapacity) {
    for (std::size_t i = 0; i < parameterCapacity; ++i) queues.push_back(std::make_unique<Queue>());
}

// A parameter set again moves behind the others, so that the plug-in applies
// changes in the order they were made (a program change, then an edit).
bool Vst3ParameterChanges::set(Steinberg_Vst_ParamID id, double normalized) {
    const auto begin = queues.begin(), end = queues.begin() + static_cast<std::ptrdiff_t>(used);
    const auto found = std::find_if(begin, end, [id](const auto& queue) { return queue->id == id; });
    if (found != end) {
        std::rotate(found, found + 1, end);
    } else {
        if (used == queues.size()) return false;
        ++used;
    }
    Queue& last = *queues[used - 1];
    last.id = id;
    last.value = normalized;
    return true;
}

Steinberg_tresult Vst3ParameterChanges::queryInterface(const char* iid, void** object) {
    return answerInterfaceQuery(&slot, iid, Steinberg_Vst_IParameterChanges_iid, object);
}

Steinberg_Vst_IParamValueQueue* Vst3ParameterChanges::getParameterData(Steinberg_int32 index) {
    if (index < 0 || static_cast<std::size_t>(index) >= used) return nullptr;
    return queues[static_cast<std::size_t>(index)]->queue();
}

Steinberg_tresult Vst3ParameterChanges::Queue::queryInterface(const char* iid, void** object) {
    return answerInterfaceQuery(&slot, iid, Steinberg_Vst_IParamValueQueue_iid, object);
}

Steinberg_tresult Vst3ParameterChanges::Queue::getPoint(Steinberg_int32 index, Steinberg_int32* offset,
                                                        double* pointValue) {
    if (index != 0 || offset == nullptr || pointValue == nullptr) return Steinberg_kInvalidArgument;
    *offset = 0;
    *pointValue = value;
    return Steinberg_kResultOk;
}
