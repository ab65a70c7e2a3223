#include "host/loader/vst3_component_handler.h"

Steinberg_Vst_IComponentHandlerVtbl Vst3ComponentHandler::table = {
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::queryInterface>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::addRef>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::release>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::beginEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::performEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::endEdit>::call,
    Thunk<Steinberg_Vst_IComponentHandler, &Vst3ComponentHandler::restartComponent>::call};
