// What our host answers a VST 3 controller that reports its editor's edits:
// performEdit goes to a function of the host (which carries it to the
// processor and to the CLI as automation); gestures and restart requests are
// accepted and need nothing more from a host that keeps no undo history.
//
// Threads: the plug-in calls it on the CLI's main thread.
#pragma once

#include <vst3_c_api.h>

#include "vst3_interface/interface_slot.h"

class Vst3ComponentHandler {
public:
    using EditListener = void (*)(void* context, Steinberg_Vst_ParamID id, double normalized);

    Vst3ComponentHandler(EditListener listener, void* context) : listener(listener), context(context) {}
    Vst3ComponentHandler(const Vst3ComponentHandler&) = delete;
    Vst3ComponentHandler& operator=(const Vst3ComponentHandler&) = delete;

    Steinberg_Vst_IComponentHandler* handler() { return &slot.interface; }

private:
    Steinberg_tresult queryInterface(const char* iid, void** object) {
        return answerInterfaceQuery(&slot, iid, Steinberg_Vst_IComponentHandler_iid, object);
    }
    // The host owns this object for the plug-in's life: counts are nominal.
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_tresult beginEdit(Steinberg_Vst_ParamID) { return Steinberg_kResultOk; }
    Steinberg_tresult performEdit(Steinberg_Vst_ParamID id, Steinberg_Vst_ParamValue normalized) {
        listener(context, id, normalized);
        return Steinberg_kResultOk;
    }
    Steinberg_tresult endEdit(Steinberg_Vst_ParamID) { return Steinberg_kResultOk; }
    Steinberg_tresult restartComponent(Steinberg_int32) { return Steinberg_kResultOk; }

    static Steinberg_Vst_IComponentHandlerVtbl table;
    InterfaceSlot<Steinberg_Vst_IComponentHandler, Vst3ComponentHandler> slot{{&table}, this};
    EditListener listener;
    void* context;
};
