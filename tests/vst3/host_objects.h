// What a VST 3 host hands a plug-in, as small objects of the tests: a memory
// stream, a block's parameter changes and a component handler that records
// the edits it hears. Each answers its C interface through InterfaceSlot,
// as the plug-in's objects do. The tests own them; their reference counts
// are nominal.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vst3_interface/interface_slot.h"

class MemoryStream {
public:
    // maxRead limits the bytes one read call gives, as a slow stream would.
    explicit MemoryStream(std::vector<std::uint8_t> bytes = {}, std::int32_t maxRead = 1 << 30);
    Steinberg_IBStream* stream() { return &slot.interface; }
    const std::vector<std::uint8_t>& bytes() const { return data; }

private:
    Steinberg_tresult queryInterface(const char*, void** object);
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_tresult read(void* buffer, Steinberg_int32 count, Steinberg_int32* done);
    Steinberg_tresult write(void* buffer, Steinberg_int32 count, Steinberg_int32* done);
    Steinberg_tresult seek(Steinberg_int64 position, Steinberg_int32 mode, Steinberg_int64* result);
    Steinberg_tresult tell(Steinberg_int64* position);

    static Steinberg_IBStreamVtbl table;
    InterfaceSlot<Steinberg_IBStream, MemoryStream> slot{{&table}, this};
    std::vector<std::uint8_t> data;
    std::size_t position = 0;
    std::int32_t maxRead;
};

class ParameterChangeList {
public:
    ParameterChangeList() = default;
    ParameterChangeList(const ParameterChangeList&) = delete;
    ParameterChangeList& operator=(const ParameterChangeList&) = delete;

    // A point at a sample offset, in the queue of its parameter.
    void add(Steinberg_Vst_ParamID id, std::int32_t offset, double value);
    Steinberg_Vst_IParameterChanges* changes() { return &slot.interface; }

private:
    class Queue {
    public:
        explicit Queue(Steinberg_Vst_ParamID id) : id(id) {}
        Steinberg_Vst_IParamValueQueue* queue() { return &slot.interface; }
        Steinberg_Vst_ParamID parameter() const { return id; }
        void append(std::int32_t offset, double value) { points.emplace_back(offset, value); }

    private:
        Steinberg_tresult queryInterface(const char*, void** object);
        Steinberg_uint32 addRef() { return 1; }
        Steinberg_uint32 release() { return 1; }
        Steinberg_Vst_ParamID getParameterId() { return id; }
        Steinberg_int32 getPointCount() { return static_cast<Steinberg_int32>(points.size()); }
        Steinberg_tresult getPoint(Steinberg_int32 index, Steinberg_int32* offset, double* value);
        Steinberg_tresult addPoint(Steinberg_int32, double, Steinberg_int32*) { return Steinberg_kResultFalse; }

        static Steinberg_Vst_IParamValueQueueVtbl table;
        InterfaceSlot<Steinberg_Vst_IParamValueQueue, Queue> slot{{&table}, this};
        Steinberg_Vst_ParamID id;
        std::vector<std::pair<std::int32_t, double>> points;
    };

    Steinberg_tresult queryInterface(const char*, void** object);
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_int32 getParameterCount() { return static_cast<Steinberg_int32>(queues.size()); }
    Steinberg_Vst_IParamValueQueue* getParameterData(Steinberg_int32 index);
    Steinberg_Vst_IParamValueQueue* addParameterData(const Steinberg_Vst_ParamID*, Steinberg_int32*) { return nullptr; }

    static Steinberg_Vst_IParameterChangesVtbl table;
    InterfaceSlot<Steinberg_Vst_IParameterChanges, ParameterChangeList> slot{{&table}, this};
    std::vector<std::unique_ptr<Queue>> queues;
};

// A process call's data for one stereo bus in and out, processed in place.
class StereoProcessData {
public:
    StereoProcessData(float* left, float* right, std::int32_t frames, Steinberg_Vst_IParameterChanges* changes);
    StereoProcessData(const StereoProcessData&) = delete;
    StereoProcessData& operator=(const StereoProcessData&) = delete;

    Steinberg_Vst_ProcessData* data() { return &processData; }
    std::uint64_t outputSilenceFlags() const { return output.silenceFlags; }

private:
    float* channels[2];
    Steinberg_Vst_AudioBusBuffers input{}, output{};
    Steinberg_Vst_ProcessData processData{};
};

// Records "begin ID", "perform ID VALUE", "end ID" and "restart FLAGS".
class RecordingHandler {
public:
    Steinberg_Vst_IComponentHandler* handler() { return &slot.interface; }
    std::vector<std::string> calls;
    int references = 0;  // taken and not yet given back

private:
    Steinberg_tresult queryInterface(const char*, void** object);
    Steinberg_uint32 addRef() { return static_cast<Steinberg_uint32>(++references); }
    Steinberg_uint32 release() { return static_cast<Steinberg_uint32>(--references); }
    Steinberg_tresult beginEdit(Steinberg_Vst_ParamID id);
    Steinberg_tresult performEdit(Steinberg_Vst_ParamID id, double value);
    Steinberg_tresult endEdit(Steinberg_Vst_ParamID id);
    Steinberg_tresult restartComponent(Steinberg_int32 flags);

    static Steinberg_Vst_IComponentHandlerVtbl table;
    InterfaceSlot<Steinberg_Vst_IComponentHandler, RecordingHandler> slot{{&table}, this};
};
