// The library's exported entry and its attach routine: the host calls the
// entry with its callback and gets one new Roomplate instance's record.
#include "editor/reverb_editor.h"
#include "frame/plugin_entry.h"
#include "vst2/reverb_plugin.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

constexpr EditorFactory kEditorFactory = createReverbEditor;

EffectBase* createRoomplate(HostCallback hostCallback) { return new ReverbPlugin(hostCallback, kEditorFactory); }

}  // namespace

// C++ reserves the name main: the linker exports this entry under both names
// (module-definition file on Windows, a symbol alias on Linux).
extern "C" __attribute__((visibility("default"))) HOST_ENTRY AEffect* VSTCALLBACK
VSTPluginMain(HostCallback hostCallback) {
    return runPluginMain(hostCallback, createRoomplate);
}

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleHandle = instance;  // attach and detach alike
    return TRUE;
}
#else
// The library's own address identifies it, as the module instance does on Windows.
__attribute__((constructor)) static void rememberModule() { moduleHandle = reinterpret_cast<void*>(&moduleHandle); }
#endif
