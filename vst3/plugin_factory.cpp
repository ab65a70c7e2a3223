#include "vst3/plugin_factory.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "vst3/reverb_vst3.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/utf16_text.h"

#ifndef ROOMPLATE_VERSION
#error "the build defines ROOMPLATE_VERSION (CMake's PROJECT_VERSION)"
#endif

using Factory = Steinberg_IPluginFactory3;

Steinberg_IPluginFactory3Vtbl PluginFactory::factoryTable = {
    Thunk<Factory, &PluginFactory::queryInterface>::call,
    Thunk<Factory, &PluginFactory::addRef>::call,
    Thunk<Factory, &PluginFactory::release>::call,
    Thunk<Factory, &PluginFactory::getFactoryInfo>::call,
    Thunk<Factory, &PluginFactory::countClasses>::call,
    Thunk<Factory, &PluginFactory::getClassInfo>::call,
    Thunk<Factory, &PluginFactory::createInstance>::call,
    Thunk<Factory, &PluginFactory::getClassInfo2>::call,
    Thunk<Factory, &PluginFactory::getClassInfoUnicode>::call,
    Thunk<Factory, &PluginFactory::setHostContext>::call,
};

namespace {

constexpr const char* kVendor = "Roomplate";
constexpr const char* kClassName = "Roomplate";
constexpr const char* kCategory = "Audio Module Class";  // an audio effect's component
constexpr const char* kSubCategories = "Fx|Reverb";

template <std::size_t size>
void copyText(char (&out)[size], const char* text) {
    std::snprintf(out, size, "%s", text);
}

// The fields every kind of class info shares.
template <typename Info>
void fillCommon(Info& info) {
    info = {};
    std::memcpy(info.cid, kReverbClassId, sizeof(Steinberg_TUID));
    info.cardinality = Steinberg_PClassInfo_ClassCardinality_kManyInstances;
    copyText(info.category, kCategory);
}

}  // namespace

Steinberg_IPluginFactory* PluginFactory::instance() {
    static PluginFactory theFactory;
    return reinterpret_cast<Steinberg_IPluginFactory*>(&theFactory.factory);
}

Steinberg_tresult PluginFactory::queryInterface(const char* iid, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    for (const char* known : {Steinberg_FUnknown_iid, Steinberg_IPluginFactory_iid, Steinberg_IPluginFactory2_iid,
                              Steinberg_IPluginFactory3_iid})
        if (iid != nullptr && sameInterfaceId(iid, known)) {
            *object = &factory;
            return Steinberg_kResultOk;
        }
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult PluginFactory::getFactoryInfo(Steinberg_PFactoryInfo* info) {
    if (info == nullptr) return Steinberg_kInvalidArgument;
    *info = {};
    copyText(info->vendor, kVendor);
    info->flags = Steinberg_PFactoryInfo_FactoryFlags_kUnicode;
    return Steinberg_kResultOk;
}

Steinberg_tresult PluginFactory::getClassInfo(Steinberg_int32 index, Steinberg_PClassInfo* info) {
    if (info == nullptr || index != 0) return Steinberg_kInvalidArgument;
    fillCommon(*info);
    copyText(info->name, kClassName);
    return Steinberg_kResultOk;
}

Steinberg_tresult PluginFactory::getClassInfo2(Steinberg_int32 index, Steinberg_PClassInfo2* info) {
    if (info == nullptr || index != 0) return Steinberg_kInvalidArgument;
    fillCommon(*info);
    copyText(info->name, kClassName);
    copyText(info->subCategories, kSubCategories);
    copyText(info->vendor, kVendor);
    copyText(info->version, ROOMPLATE_VERSION);
    copyText(info->sdkVersion, Steinberg_Vst_SDKVersionString);
    return Steinberg_kResultOk;
}

Steinberg_tresult PluginFactory::getClassInfoUnicode(Steinberg_int32 index, Steinberg_PClassInfoW* info) {
    if (info == nullptr || index != 0) return Steinberg_kInvalidArgument;
    fillCommon(*info);
    Utf16Text::fromAscii(kClassName, info->name, std::size(info->name));
    copyText(info->subCategories, kSubCategories);
    Utf16Text::fromAscii(kVendor, info->vendor, std::size(info->vendor));
    Utf16Text::fromAscii(ROOMPLATE_VERSION, info->version, std::size(info->version));
    Utf16Text::fromAscii(Steinberg_Vst_SDKVersionString, info->sdkVersion, std::size(info->sdkVersion));
    return Steinberg_kResultOk;
}

// A new instance answering iid; its creation reference is handed over by
// the queryInterface that gave the pointer, then dropped.
Steinberg_tresult PluginFactory::createInstance(Steinberg_FIDString classId, Steinberg_FIDString iid, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    *object = nullptr;
    if (classId == nullptr || !sameInterfaceId(classId, kReverbClassId)) return Steinberg_kNoInterface;
    Steinberg_FUnknown* instance = ReverbVst3::create();
    if (instance == nullptr) return Steinberg_kOutOfMemory;
    const Steinberg_tresult result = instance->lpVtbl->queryInterface(instance, iid, object);
    instance->lpVtbl->release(instance);
    return result;
}
