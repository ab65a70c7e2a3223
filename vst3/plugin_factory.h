// The module's one factory (IPluginFactory3): a single audio effect class,
// "Roomplate", category "Fx|Reverb", vendor "Roomplate", version from the
// build. The factory is a static object; its reference count is nominal.
//
// Threads: any; it keeps no state that changes.
#pragma once

#include <vst3_c_api.h>

#include "vst3_interface/interface_slot.h"

class PluginFactory {
public:
    static Steinberg_IPluginFactory* instance();

private:
    PluginFactory() = default;

    Steinberg_tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_tresult getFactoryInfo(Steinberg_PFactoryInfo* info);
    Steinberg_int32 countClasses() { return 1; }
    Steinberg_tresult getClassInfo(Steinberg_int32 index, Steinberg_PClassInfo* info);
    Steinberg_tresult createInstance(Steinberg_FIDString classId, Steinberg_FIDString iid, void** object);
    Steinberg_tresult getClassInfo2(Steinberg_int32 index, Steinberg_PClassInfo2* info);
    Steinberg_tresult getClassInfoUnicode(Steinberg_int32 index, Steinberg_PClassInfoW* info);
    Steinberg_tresult setHostContext(Steinberg_FUnknown*) { return Steinberg_kResultOk; }

    static Steinberg_IPluginFactory3Vtbl factoryTable;

    InterfaceSlot<Steinberg_IPluginFactory3, PluginFactory> factory{{&factoryTable}, this};
};
