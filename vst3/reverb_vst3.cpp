#include "vst3/reverb_vst3.h"

#include <cstring>
#include <new>

#include "vst3/reverb_plug_view.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/utf16_text.h"

namespace {

constexpr const char* kEditorViewName = "editor";

}  // namespace

Steinberg_FUnknown* ReverbVst3::create() {
    auto* made = new (std::nothrow) ReverbVst3;
    return made != nullptr ? made->component.asUnknown() : nullptr;
}

Steinberg_uint32 ReverbVst3::release() {
    const Steinberg_uint32 left = references.drop();
    if (left == 0) delete this;
    return left;
}

Steinberg_tresult ReverbVst3::queryInterface(const char* iid, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    const struct {
        const char* iid;
        void* slot;
    } answers[] = {
        {Steinberg_FUnknown_iid, &component},
        {Steinberg_IPluginBase_iid, &component},
        {Steinberg_Vst_IComponent_iid, &component},
        {Steinberg_Vst_IAudioProcessor_iid, &audioProcessor},
        {Steinberg_Vst_IProcessContextRequirements_iid, &contextRequirements},
        {Steinberg_Vst_IEditController_iid, &editController},
        {Steinberg_Vst_IUnitInfo_iid, &unitInfo},
    };
    for (const auto& answer : answers)
        if (iid != nullptr && sameInterfaceId(iid, answer.iid)) {
            addRef();
            *object = answer.slot;
            return Steinberg_kResultOk;
        }
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult ReverbVst3::initialize(Steinberg_FUnknown*) {
    if (lifecycle != Lifecycle::created) return Steinberg_kResultFalse;
    lifecycle = Lifecycle::initialized;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::terminate() {
    if (lifecycle == Lifecycle::created) return Steinberg_kResultFalse;
    if (lifecycle == Lifecycle::active) processor.setActive(false);
    controller.setComponentHandler(nullptr);
    lifecycle = Lifecycle::created;
    return Steinberg_kResultOk;
}

bool ReverbVst3::isAudioBus(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction,
                            Steinberg_int32 index) const {
    return type == Steinberg_Vst_MediaTypes_kAudio && index == 0 &&
           (direction == Steinberg_Vst_BusDirections_kInput || direction == Steinberg_Vst_BusDirections_kOutput);
}

Steinberg_int32 ReverbVst3::getBusCount(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction) {
    return isAudioBus(type, direction, 0) ? 1 : 0;
}

Steinberg_tresult ReverbVst3::getBusInfo(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction,
                                         Steinberg_int32 index, Steinberg_Vst_BusInfo* bus) {
    if (bus == nullptr || !isAudioBus(type, direction, index)) return Steinberg_kInvalidArgument;
    *bus = {};
    bus->mediaType = type;
    bus->direction = direction;
    bus->channelCount = ReverbAudioProcessor::kChannels;
    const bool input = direction == Steinberg_Vst_BusDirections_kInput;
    Utf16Text::fromAscii(input ? "Stereo In" : "Stereo Out", bus->name, std::size(bus->name));
    bus->busType = Steinberg_Vst_BusTypes_kMain;
    bus->flags = Steinberg_Vst_BusInfo_BusFlags_kDefaultActive;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::activateBus(Steinberg_Vst_MediaType type, Steinberg_Vst_BusDirection direction,
                                          Steinberg_int32 index, Steinberg_TBool) {
    return isAudioBus(type, direction, index) ? Steinberg_kResultOk : Steinberg_kInvalidArgument;
}

// Activating twice, or deactivating what is not active, is refused.
Steinberg_tresult ReverbVst3::setActive(Steinberg_TBool state) {
    const Lifecycle wanted = state != 0 ? Lifecycle::active : Lifecycle::initialized;
    if (lifecycle == Lifecycle::created || lifecycle == wanted) return Steinberg_kResultFalse;
    processor.setActive(state != 0);
    lifecycle = wanted;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::setComponentStateFrom(Steinberg_IBStream* stream) {
    Vst3State state;
    if (!Vst3State::read(stream, state)) return Steinberg_kResultFalse;
    processor.loadState(state);
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::getComponentState(Steinberg_IBStream* stream) {
    return processor.saveState().write(stream) ? Steinberg_kResultOk : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbVst3::setBusArrangements(Steinberg_Vst_SpeakerArrangement* inputs, Steinberg_int32 inputCount,
                                                 Steinberg_Vst_SpeakerArrangement* outputs,
                                                 Steinberg_int32 outputCount) {
    return ReverbAudioProcessor::acceptsArrangement(inputs, inputCount, outputs, outputCount) ? Steinberg_kResultTrue
                                                                                              : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbVst3::getBusArrangement(Steinberg_Vst_BusDirection direction, Steinberg_int32 index,
                                                Steinberg_Vst_SpeakerArrangement* arrangement) {
    if (arrangement == nullptr || !isAudioBus(Steinberg_Vst_MediaTypes_kAudio, direction, index))
        return Steinberg_kInvalidArgument;
    *arrangement = Steinberg_Vst_SpeakerArr_kStereo;
    return Steinberg_kResultTrue;
}

Steinberg_tresult ReverbVst3::canProcessSampleSize(Steinberg_int32 symbolicSampleSize) {
    return ReverbAudioProcessor::canProcess(symbolicSampleSize) ? Steinberg_kResultTrue : Steinberg_kResultFalse;
}

// The rate takes effect at the next activation, which builds the engine for it.
Steinberg_tresult ReverbVst3::setupProcessing(Steinberg_Vst_ProcessSetup* setup) {
    if (setup == nullptr) return Steinberg_kInvalidArgument;
    return processor.setupProcessing(*setup) ? Steinberg_kResultTrue : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbVst3::process(Steinberg_Vst_ProcessData* data) {
    if (data == nullptr) return Steinberg_kInvalidArgument;
    return processor.process(*data) ? Steinberg_kResultOk : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbVst3::setComponentState(Steinberg_IBStream* stream) {
    Vst3State state;
    if (!Vst3State::read(stream, state)) return Steinberg_kResultFalse;
    controller.loadState(state);
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::setControllerState(Steinberg_IBStream* stream) { return setComponentState(stream); }

Steinberg_tresult ReverbVst3::getControllerState(Steinberg_IBStream* stream) {
    return controller.saveState().write(stream) ? Steinberg_kResultOk : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbVst3::getParameterInfo(Steinberg_int32 index, Steinberg_Vst_ParameterInfo* info) {
    return info != nullptr && HostParameters::info(index, *info) ? Steinberg_kResultOk : Steinberg_kInvalidArgument;
}

Steinberg_tresult ReverbVst3::getParamStringByValue(ParamID id, Steinberg_Vst_ParamValue value,
                                                    Steinberg_Vst_TChar* text) {
    if (text == nullptr) return Steinberg_kInvalidArgument;
    return HostParameters::toText(id, value, controller.programs(), text) ? Steinberg_kResultOk
                                                                          : Steinberg_kInvalidArgument;
}

Steinberg_tresult ReverbVst3::getParamValueByString(ParamID id, Steinberg_Vst_TChar* text,
                                                    Steinberg_Vst_ParamValue* value) {
    if (value == nullptr) return Steinberg_kInvalidArgument;
    return HostParameters::fromText(id, text, controller.programs(), *value) ? Steinberg_kResultOk
                                                                             : Steinberg_kResultFalse;
}

Steinberg_Vst_ParamValue ReverbVst3::normalizedParamToPlain(ParamID id, Steinberg_Vst_ParamValue value) {
    return HostParameters::toPlain(id, value);
}

Steinberg_Vst_ParamValue ReverbVst3::plainParamToNormalized(ParamID id, Steinberg_Vst_ParamValue value) {
    return HostParameters::toNormalized(id, value);
}

Steinberg_tresult ReverbVst3::setParamNormalized(ParamID id, Steinberg_Vst_ParamValue value) {
    return controller.setNormalized(id, value) ? Steinberg_kResultOk : Steinberg_kInvalidArgument;
}

Steinberg_tresult ReverbVst3::setComponentHandler(Steinberg_Vst_IComponentHandler* handler) {
    controller.setComponentHandler(handler);
    return Steinberg_kResultOk;
}

Steinberg_IPlugView* ReverbVst3::createView(Steinberg_FIDString name) {
    if (name == nullptr || std::strcmp(name, kEditorViewName) != 0) return nullptr;
    return ReverbPlugView::create(component.asUnknown(), controller);
}

Steinberg_tresult ReverbVst3::getUnitInfo(Steinberg_int32 index, Steinberg_Vst_UnitInfo* info) {
    return info != nullptr && HostParameters::unitInfo(index, *info) ? Steinberg_kResultOk : Steinberg_kInvalidArgument;
}

Steinberg_tresult ReverbVst3::getProgramListInfo(Steinberg_int32 index, Steinberg_Vst_ProgramListInfo* info) {
    if (info == nullptr || index != 0) return Steinberg_kInvalidArgument;
    *info = {};
    info->id = kFactoryProgramListId;
    Utf16Text::fromAscii("Programs", info->name, std::size(info->name));
    info->programCount = kProgramCount;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::getProgramName(Steinberg_Vst_ProgramListID listId, Steinberg_int32 program,
                                             Steinberg_Vst_TChar* name) {
    if (name == nullptr || listId != kFactoryProgramListId || program < 0 || program >= kProgramCount)
        return Steinberg_kInvalidArgument;
    Utf16Text::fromAscii(controller.programs().nameOf(program), name, Utf16Text::kString128Size);
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::selectUnit(Steinberg_Vst_UnitID unitId) {
    if (unitId < 0 || unitId >= HostParameters::kUnitCount) return Steinberg_kInvalidArgument;
    selectedUnit = unitId;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbVst3::getUnitByBus(Steinberg_Vst_MediaType, Steinberg_Vst_BusDirection, Steinberg_int32,
                                           Steinberg_int32, Steinberg_Vst_UnitID* unitId) {
    if (unitId == nullptr) return Steinberg_kInvalidArgument;
    *unitId = Steinberg_Vst_kRootUnitId;
    return Steinberg_kResultOk;
}
