// The library's exported clap_entry: the plug-in factory with one plug-in,
// and the preset-discovery factory with its factory programs.
//
// Threads: init, deinit and get_factory on the host's main thread; the
// factories' calls there too.
#include <clap/clap.h>

#include <cstring>
#include <new>

#include "clap/preset_provider.h"
#include "clap/reverb_clap_plugin.h"
#include "frame/plugin_entry.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

const clap_plugin_t* createPlugin(const clap_host_t* host, const char* pluginId) {
    if (host == nullptr || pluginId == nullptr || !clap_version_is_compatible(host->clap_version) ||
        std::strcmp(pluginId, ReverbClapPlugin::kDescriptor.id) != 0)
        return nullptr;
    auto* plugin = new (std::nothrow) ReverbClapPlugin(host);
    return plugin != nullptr ? plugin->record() : nullptr;
}

const clap_plugin_factory_t kPluginFactory = {[](const clap_plugin_factory_t*) -> std::uint32_t { return 1; },
                                              [](const clap_plugin_factory_t*, std::uint32_t index) {
                                                  return index == 0 ? &ReverbClapPlugin::kDescriptor : nullptr;
                                              },
                                              [](const clap_plugin_factory_t*, const clap_host_t* host,
                                                 const char* pluginId) { return createPlugin(host, pluginId); }};

const void* factory(const char* factoryId) {
    if (factoryId == nullptr) return nullptr;
    if (std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0) return &kPluginFactory;
    if (std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
        std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0)
        return &kPresetDiscoveryFactory;
    return nullptr;
}

}  // namespace

extern "C" __attribute__((visibility("default")))
const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, [](const char*) { return true; }, [] {}, factory};

// The editor's bitmaps and window class are found through the library's own module.
#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleHandle = instance;
    return TRUE;
}
#else
__attribute__((constructor)) static void rememberModule() { moduleHandle = reinterpret_cast<void*>(&moduleHandle); }
#endif
