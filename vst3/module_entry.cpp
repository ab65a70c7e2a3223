// The module's exported entries: GetPluginFactory everywhere, ModuleEntry and
// ModuleExit on Linux, InitDll and ExitDll on Windows (hosts call the pairs
// around their use of the module; nothing needs setting up beyond the module
// handle the editor's bitmaps and window class are found by).
#include <vst3_c_api.h>

#include "frame/plugin_entry.h"
#include "vst3/plugin_factory.h"

#if defined(_WIN32)
#include <windows.h>
// The module-definition file exports the undecorated names (32-bit stdcall
// would otherwise add "@0").
#define ROOMPLATE_EXPORT extern "C"
#else
#define ROOMPLATE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

ROOMPLATE_EXPORT Steinberg_IPluginFactory* SMTG_STDMETHODCALLTYPE GetPluginFactory() {
    return PluginFactory::instance();
}

#if defined(_WIN32)

ROOMPLATE_EXPORT bool SMTG_STDMETHODCALLTYPE InitDll() { return true; }
ROOMPLATE_EXPORT bool SMTG_STDMETHODCALLTYPE ExitDll() { return true; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleHandle = instance;
    return TRUE;
}

#else

ROOMPLATE_EXPORT bool ModuleEntry(void*) { return true; }
ROOMPLATE_EXPORT bool ModuleExit() { return true; }

// The library's own address identifies it, as the module instance does on Windows.
__attribute__((constructor)) static void rememberModule() { moduleHandle = reinterpret_cast<void*>(&moduleHandle); }

#endif
