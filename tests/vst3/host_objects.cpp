#include "tests/vst3/host_objects.h"

#include <algorithm>
#include <cstring>

Steinberg_IBStreamVtbl MemoryStream::table = {
    Thunk<Steinberg_IBStream, &MemoryStream::queryInterface>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::addRef>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::release>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::read>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::write>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::seek>::call,
    Thunk<Steinberg_IBStream, &MemoryStream::tell>::call,
};

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes, std::int32_t maxRead)
    : data(std::move(bytes)), maxRead(maxRead) {}

Steinberg_tresult MemoryStream::queryInterface(const char*, void** object) {
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult MemoryStream::read(void* buffer, Steinberg_int32 count, Steinberg_int32* done) {
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), maxRead);
    const std::size_t taken = std::min(wanted, data.size() - position);
    if (taken > 0) std::memcpy(buffer, data.data() + position, taken);  // an empty stream's data may be null
    position += taken;
    if (done != nullptr) *done = static_cast<Steinberg_int32>(taken);
    return Steinberg_kResultOk;
}

Steinberg_tresult MemoryStream::write(void* buffer, Steinberg_int32 count, Steinberg_int32* done) {
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (data.size() < position + count) data.resize(position + count);
    std::copy(bytes, bytes + count, data.begin() + static_cast<std::ptrdiff_t>(position));
    position += count;
    if (done != nullptr) *done = count;
    return Steinberg_kResultOk;
}

Steinberg_tresult MemoryStream::seek(Steinberg_int64 offset, Steinberg_int32 mode, Steinberg_int64* result) {
    const Steinberg_int64 base = mode == Steinberg_IBStream_IStreamSeekMode_kIBSeekSet   ? 0
                                 : mode == Steinberg_IBStream_IStreamSeekMode_kIBSeekCur ? position
                                                                                         : data.size();
    position = static_cast<std::size_t>(std::clamp<Steinberg_int64>(base + offset, 0, data.size()));
    if (result != nullptr) *result = static_cast<Steinberg_int64>(position);
    return Steinberg_kResultOk;
}

Steinberg_tresult MemoryStream::tell(Steinberg_int64* where) {
    *where = static_cast<Steinberg_int64>(position);
    return Steinberg_kResultOk;
}

Steinberg_Vst_IParamValueQueueVtbl ParameterChangeList::Queue::table = {
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::queryInterface>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::addRef>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::release>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getParameterId>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getPointCount>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::getPoint>::call,
    Thunk<Steinberg_Vst_IParamValueQueue, &Queue::addPoint>::call,
};

Steinberg_Vst_IParameterChangesVtbl ParameterChangeList::table = {
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::queryInterface>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::addRef>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::release>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::getParameterCount>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::getParameterData>::call,
    Thunk<Steinberg_Vst_IParameterChanges, &ParameterChangeList::addParameterData>::call,
};

Steinberg_tresult ParameterChangeList::Queue::queryInterface(const char*, void** object) {
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult ParameterChangeList::Queue::getPoint(Steinberg_int32 index, Steinberg_int32* offset, double* value) {
    if (index < 0 || index >= getPointCount()) return Steinberg_kResultFalse;
    *offset = points[static_cast<std::size_t>(index)].first;
    *value = points[static_cast<std::size_t>(index)].second;
    return Steinberg_kResultOk;
}

void ParameterChangeList::add(Steinberg_Vst_ParamID id, std::int32_t offset, double value) {
    auto found = std::find_if(queues.begin(), queues.end(), [id](const auto& q) { return q->parameter() == id; });
    if (found == queues.end()) found = queues.insert(queues.end(), std::make_unique<Queue>(id));
    (*found)->append(offset, value);
}

Steinberg_tresult ParameterChangeList::queryInterface(const char*, void** object) {
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_Vst_IParamValueQueue* ParameterChangeList::getParameterData(Steinberg_int32 index) {
    if (index < 0 || index >= getParameterCount()) return nullptr;
    return queues[static_cast<std::size_t>(index)]->queue();
}

StereoProcessData::StereoProcessData(float* left, float* right, std::int32_t frames,
                                     Steinberg_Vst_IParameterChanges* changes)
    : channels{left, right} {
    input.numChannels = output.numChannels = 2;
    input.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = channels;
    output.Steinberg_Vst_AudioBusBuffers_channelBuffers32 = channels;
    processData.processMode = Steinberg_Vst_ProcessModes_kRealtime;
    processData.symbolicSampleSize = Steinberg_Vst_SymbolicSampleSizes_kSample32;
    processData.numSamples = frames;
    processData.numInputs = processData.numOutputs = 1;
    processData.inputs = &input;
    processData.outputs = &output;
    processData.inputParameterChanges = changes;
}

Steinberg_Vst_IComponentHandlerVtbl RecordingHandler::table = {
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::queryInterface>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::addRef>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::release>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::beginEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::performEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::endEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &RecordingHandler::restartComponent>::call,
};

Steinberg_tresult RecordingHandler::queryInterface(const char*, void** object) {
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult RecordingHandler::beginEdit(Steinberg_Vst_ParamID id) {
    calls.push_back("begin " + std::to_string(id));
    return Steinberg_kResultOk;
}

Steinberg_tresult RecordingHandler::performEdit(Steinberg_Vst_ParamID id, double value) {
    calls.push_back("perform " + std::to_string(id) + " " + std::to_string(value));
    return Steinberg_kResultOk;
}

Steinberg_tresult RecordingHandler::endEdit(Steinberg_Vst_ParamID id) {
    calls.push_back("end " + std::to_string(id));
    return Steinberg_kResultOk;
}

Steinberg_tresult RecordingHandler::restartComponent(Steinberg_int32 flags) {
    calls.push_back("restart " + std::to_string(flags));
    return Steinberg_kResultOk;
}
