// ReverbVst3's function tables, in the order the C interface declares them.
#include "vst3/reverb_vst3.h"

using Component = Steinberg_Vst_IComponent;
using Processor = Steinberg_Vst_IAudioProcessor;
using ContextRequirements = Steinberg_Vst_IProcessContextRequirements;
using Controller = Steinberg_Vst_IEditController;
using Units = Steinberg_Vst_IUnitInfo;

Steinberg_Vst_IComponentVtbl ReverbVst3::componentTable = {
    Thunk<Component, &ReverbVst3::queryInterface>::call,
    Thunk<Component, &ReverbVst3::addRef>::call,
    Thunk<Component, &ReverbVst3::release>::call,
    Thunk<Component, &ReverbVst3::initialize>::call,
    Thunk<Component, &ReverbVst3::terminate>::call,
    Thunk<Component, &ReverbVst3::getControllerClassId>::call,
    Thunk<Component, &ReverbVst3::setIoMode>::call,
    Thunk<Component, &ReverbVst3::getBusCount>::call,
    Thunk<Component, &ReverbVst3::getBusInfo>::call,
    Thunk<Component, &ReverbVst3::getRoutingInfo>::call,
    Thunk<Component, &ReverbVst3::activateBus>::call,
    Thunk<Component, &ReverbVst3::setActive>::call,
    Thunk<Component, &ReverbVst3::setComponentStateFrom>::call,
    Thunk<Component, &ReverbVst3::getComponentState>::call,
};

Steinberg_Vst_IAudioProcessorVtbl ReverbVst3::processorTable = {
    Thunk<Processor, &ReverbVst3::queryInterface>::call,    Thunk<Processor, &ReverbVst3::addRef>::call,
    Thunk<Processor, &ReverbVst3::release>::call,           Thunk<Processor, &ReverbVst3::setBusArrangements>::call,
    Thunk<Processor, &ReverbVst3::getBusArrangement>::call, Thunk<Processor, &ReverbVst3::canProcessSampleSize>::call,
    Thunk<Processor, &ReverbVst3::getLatencySamples>::call, Thunk<Processor, &ReverbVst3::setupProcessing>::call,
    Thunk<Processor, &ReverbVst3::setProcessing>::call,     Thunk<Processor, &ReverbVst3::process>::call,
    Thunk<Processor, &ReverbVst3::getTailSamples>::call,
};

Steinberg_Vst_IProcessContextRequirementsVtbl ReverbVst3::contextRequirementsTable = {
    Thunk<ContextRequirements, &ReverbVst3::queryInterface>::call,
    Thunk<ContextRequirements, &ReverbVst3::addRef>::call,
    Thunk<ContextRequirements, &ReverbVst3::release>::call,
    Thunk<ContextRequirements, &ReverbVst3::getProcessContextRequirements>::call,
};

Steinberg_Vst_IEditControllerVtbl ReverbVst3::controllerTable = {
    Thunk<Controller, &ReverbVst3::queryInterface>::call,
    Thunk<Controller, &ReverbVst3::addRef>::call,
    Thunk<Controller, &ReverbVst3::release>::call,
    Thunk<Controller, &ReverbVst3::initialize>::call,
    Thunk<Controller, &ReverbVst3::terminate>::call,
    Thunk<Controller, &ReverbVst3::setComponentState>::call,
    Thunk<Controller, &ReverbVst3::setControllerState>::call,
    Thunk<Controller, &ReverbVst3::getControllerState>::call,
    Thunk<Controller, &ReverbVst3::getParameterCount>::call,
    Thunk<Controller, &ReverbVst3::getParameterInfo>::call,
    Thunk<Controller, &ReverbVst3::getParamStringByValue>::call,
    Thunk<Controller, &ReverbVst3::getParamValueByString>::call,
    Thunk<Controller, &ReverbVst3::normalizedParamToPlain>::call,
    Thunk<Controller, &ReverbVst3::plainParamToNormalized>::call,
    Thunk<Controller, &ReverbVst3::getParamNormalized>::call,
    Thunk<Controller, &ReverbVst3::setParamNormalized>::call,
    Thunk<Controller, &ReverbVst3::setComponentHandler>::call,
    Thunk<Controller, &ReverbVst3::createView>::call,
};

Steinberg_Vst_IUnitInfoVtbl ReverbVst3::unitInfoTable = {
    Thunk<Units, &ReverbVst3::queryInterface>::call,
    Thunk<Units, &ReverbVst3::addRef>::call,
    Thunk<Units, &ReverbVst3::release>::call,
    Thunk<Units, &ReverbVst3::getUnitCount>::call,
    Thunk<Units, &ReverbVst3::getUnitInfo>::call,
    Thunk<Units, &ReverbVst3::getProgramListCount>::call,
    Thunk<Units, &ReverbVst3::getProgramListInfo>::call,
    Thunk<Units, &ReverbVst3::getProgramName>::call,
    Thunk<Units, &ReverbVst3::getProgramInfo>::call,
    Thunk<Units, &ReverbVst3::hasProgramPitchNames>::call,
    Thunk<Units, &ReverbVst3::getProgramPitchName>::call,
    Thunk<Units, &ReverbVst3::getSelectedUnit>::call,
    Thunk<Units, &ReverbVst3::selectUnit>::call,
    Thunk<Units, &ReverbVst3::getUnitByBus>::call,
    Thunk<Units, &ReverbVst3::setUnitProgramData>::call,
};
