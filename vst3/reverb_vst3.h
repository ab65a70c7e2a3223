// The reverb as one VST 3 object: component, audio processor and edit
// controller in one (hosts find the controller through queryInterface, so
// there is no controller class and no connection between two objects), with
// the program list (IUnitInfo) and IProcessContextRequirements.
//
// The processor half (ReverbAudioProcessor) and the controller half
// (ReverbEditController) keep their own values: the host carries changes from
// one to the other, and a change reaches the sound only through process, at
// its sample offset.
//
// Threads, as VST 3 hosts call them: process on the audio thread; every
// other call on the host's main (UI) thread; addRef, release and
// getTailSamples from any thread.
#pragma once

#include <vst3_c_api.h>

#include "vst3/host_parameters.h"
#include "vst3/reverb_audio_processor.h"
#include "vst3/reverb_edit_controller.h"
#include "vst3_interface/interface_slot.h"

class ReverbVst3 {
public:
    // A new instance with one reference for the caller, as FUnknown; null without memory.
    static Steinberg_FUnknown* create();

private:
    enum class Lifecycle { created, initialized, active };
    using ParamID = Steinberg_Vst_ParamID;
    using tresult = Steinberg_tresult;

    ReverbVst3() = default;
    ~ReverbVst3() = default;

    // FUnknown, shared by every interface
    tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return references.add(); }
    Steinberg_uint32 release();
    // IPluginBase
    tresult initialize(Steinberg_FUnknown* context);
    tresult terminate();
    // IComponent
    // One object: hosts reach the controller through queryInterface.
    tresult getControllerClassId(char*) { return Steinberg_kNotImplemented; }
    tresult setIoMode(Steinberg_Vst_IoMode) { return Steinberg_kResultOk; }
    Steinberg_int32 getBusCount(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction);
    tresult getBusInfo(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction, Steinberg_int32 index,
                       Steinberg_Vst_BusInfo* bus);
    tresult getRoutingInfo(Steinberg_Vst_RoutingInfo*, Steinberg_Vst_RoutingInfo*) { return Steinberg_kResultFalse; }
    tresult activateBus(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction, Steinberg_int32 index,
                        Steinberg_TBool state);
    tresult setActive(Steinberg_TBool state);
    tresult setComponentStateFrom(Steinberg_IBStream* stream);
    tresult getComponentState(Steinberg_IBStream* stream);
    // IAudioProcessor
    tresult setBusArrangements(Steinberg_Vst_SpeakerArrangement* inputs, Steinberg_int32 inputCount,
                               Steinberg_Vst_SpeakerArrangement* outputs, Steinberg_int32 outputCount);
    tresult getBusArrangement(Steinberg_Vst_BusDirection direction, Steinberg_int32 index,
                              Steinberg_Vst_SpeakerArrangement* arrangement);
    tresult canProcessSampleSize(Steinberg_int32 symbolicSampleSize);
    Steinberg_uint32 getLatencySamples() { return 0; }
    tresult setupProcessing(Steinberg_Vst_ProcessSetup* setup);
    tresult setProcessing(Steinberg_TBool) { return Steinberg_kResultOk; }
    tresult process(Steinberg_Vst_ProcessData* data);
    Steinberg_uint32 getTailSamples() { return processor.tailSamples(); }
    // IProcessContextRequirements: the reverb needs no transport or tempo.
    Steinberg_uint32 getProcessContextRequirements() { return 0; }
    // IEditController
    tresult setComponentState(Steinberg_IBStream* stream);
    tresult setControllerState(Steinberg_IBStream* stream);
    tresult getControllerState(Steinberg_IBStream* stream);
    Steinberg_int32 getParameterCount() { return HostParameters::kCount; }
    tresult getParameterInfo(Steinberg_int32 index, Steinberg_Vst_ParameterInfo* info);
    tresult getParamStringByValue(ParamID id, Steinberg_Vst_ParamValue value, Steinberg_Vst_TChar* text);
    tresult getParamValueByString(ParamID id, Steinberg_Vst_TChar* text, Steinberg_Vst_ParamValue* value);
    Steinberg_Vst_ParamValue normalizedParamToPlain(ParamID id, Steinberg_Vst_ParamValue value);
    Steinberg_Vst_ParamValue plainParamToNormalized(ParamID id, Steinberg_Vst_ParamValue value);
    Steinberg_Vst_ParamValue getParamNormalized(ParamID id) { return controller.normalized(id); }
    tresult setParamNormalized(ParamID id, Steinberg_Vst_ParamValue value);
    tresult setComponentHandler(Steinberg_Vst_IComponentHandler* handler);
    Steinberg_IPlugView* createView(Steinberg_FIDString name);
    // IUnitInfo
    Steinberg_int32 getUnitCount() { return HostParameters::kUnitCount; }
    tresult getUnitInfo(Steinberg_int32 index, Steinberg_Vst_UnitInfo* info);
    Steinberg_int32 getProgramListCount() { return 1; }
    tresult getProgramListInfo(Steinberg_int32 index, Steinberg_Vst_ProgramListInfo* info);
    tresult getProgramName(Steinberg_Vst_ProgramListID listId, Steinberg_int32 program, Steinberg_Vst_TChar* name);
    tresult getProgramInfo(Steinberg_Vst_ProgramListID, Steinberg_int32, Steinberg_Vst_CString, Steinberg_Vst_TChar*) {
        return Steinberg_kResultFalse;
    }
    tresult hasProgramPitchNames(Steinberg_Vst_ProgramListID, Steinberg_int32) { return Steinberg_kResultFalse; }
    tresult getProgramPitchName(Steinberg_Vst_ProgramListID, Steinberg_int32, Steinberg_int16, Steinberg_Vst_TChar*) {
        return Steinberg_kResultFalse;
    }
    Steinberg_Vst_UnitID getSelectedUnit() { return selectedUnit; }
    tresult selectUnit(Steinberg_Vst_UnitID unitId);
    tresult getUnitByBus(Steinberg_Vst_MediaType, Steinberg_Vst_BusDirection, Steinberg_int32, Steinberg_int32,
                         Steinberg_Vst_UnitID* unitId);
    tresult setUnitProgramData(Steinberg_int32, Steinberg_int32, Steinberg_IBStream*) { return Steinberg_kResultFalse; }

    bool isAudioBus(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction, Steinberg_int32 index) const;

    static Steinberg_Vst_IComponentVtbl componentTable;
    static Steinberg_Vst_IAudioProcessorVtbl processorTable;
    static Steinberg_Vst_IProcessContextRequirementsVtbl contextRequirementsTable;
    static Steinberg_Vst_IEditControllerVtbl controllerTable;
    static Steinberg_Vst_IUnitInfoVtbl unitInfoTable;

    InterfaceSlot<Steinberg_Vst_IComponent, ReverbVst3> component{{&componentTable}, this};
    InterfaceSlot<Steinberg_Vst_IAudioProcessor, ReverbVst3> audioProcessor{{&processorTable}, this};
    InterfaceSlot<Steinberg_Vst_IProcessContextRequirements, ReverbVst3> contextRequirements{
        {&contextRequirementsTable}, this};
    InterfaceSlot<Steinberg_Vst_IEditController, ReverbVst3> editController{{&controllerTable}, this};
    InterfaceSlot<Steinberg_Vst_IUnitInfo, ReverbVst3> unitInfo{{&unitInfoTable}, this};

    ReferenceCount references;
    Lifecycle lifecycle = Lifecycle::created;
    Steinberg_Vst_UnitID selectedUnit = Steinberg_Vst_kRootUnitId;  // the host's choice, kept for it
    ReverbAudioProcessor processor;
    ReverbEditController controller;
};
