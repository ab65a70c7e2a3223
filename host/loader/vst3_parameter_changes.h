// The parameter changes our host hands a VST 3 plug-in with a process call:
// one queue per parameter holding one point at offset 0, the last value set
// since the previous call, queues in the order of the parameters' last changes (as a VST 2 host's setParameter acts
// before the next block). All queues exist from construction, so filling and handing them over never allocates.
//
// Threads: the CLI sets, clears and processes on one thread; the plug-in
// reads the queues inside its process call.
#pragma once

#include <vst3_c_api.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "vst3_interface/interface_slot.h"

class Vst3ParameterChanges {
public:
    explicit Vst3ParameterChanges(std::size_t parameterCapacity);
    Vst3ParameterChanges(const Vst3ParameterChanges&) = delete;
    Vst3ParameterChanges& operator=(const Vst3ParameterChanges&) = delete;

    // The value replaces an earlier one of the same parameter; false when
    // more parameters changed than the capacity holds (the change is lost).
    bool set(Steinberg_Vst_ParamID id, double normalized);
    void clear() { used = 0; }
    bool empty() const { return used == 0; }
    Steinberg_Vst_IParameterChanges* changes() { return &slot.interface; }

private:
    class Queue {
    public:
        Steinberg_Vst_IParamValueQueue* queue() { return &slot.interface; }
        Steinberg_Vst_ParamID id = 0;
        double value = 0.0;

    private:
        Steinberg_tresult queryInterface(const char* iid, void** object);
        Steinberg_uint32 addRef() { return 1; }
        Steinberg_uint32 release() { return 1; }
        Steinberg_Vst_ParamID getParameterId() { return id; }
        Steinberg_int32 getPointCount() { return 1; }
        Steinberg_tresult getPoint(Steinberg_int32 index, Steinberg_int32* offset, double* pointValue);
        Steinberg_tresult addPoint(Steinberg_int32, double, Steinberg_int32*) { return Steinberg_kResultFalse; }

        static Steinberg_Vst_IParamValueQueueVtbl table;
        InterfaceSlot<Steinberg_Vst_IParamValueQueue, Queue> slot{{&table}, this};
    };

    Steinberg_tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_int32 getParameterCount() { return static_cast<Steinberg_int32>(used); }
    Steinberg_Vst_IParamValueQueue* getParameterData(Steinberg_int32 index);
    Steinberg_Vst_IParamValueQueue* addParameterData(const Steinberg_Vst_ParamID*, Steinberg_int32*) { return nullptr; }

    static Steinberg_Vst_IParameterChangesVtbl table;
    InterfaceSlot<Steinberg_Vst_IParameterChanges, Vst3ParameterChanges> slot{{&table}, this};
    std::vector<std::unique_ptr<Queue>> queues;  // each queue's address stays put: the plug-in holds it
    std::size_t used = 0;
};
