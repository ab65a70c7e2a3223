#include "host/loader/plugin_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

PluginLibrary::~PluginLibrary() { close(); }

#if defined(_WIN32)

bool PluginLibrary::open(const std::string& path, std::string& error) {
    close();
    // No error dialogs from the system loader: a bad file is one line on stderr.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    handle = LoadLibraryA(path.c_str());
    SetErrorMode(previousMode);
    if (handle == nullptr) {
        error = "cannot load " + path + " (Windows error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

void PluginLibrary::close() {
    if (handle != nullptr) FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}

void* PluginLibrary::findSymbol(const char* name) const {
    if (handle == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

#else

bool PluginLibrary::open(const std::string& path, std::string& error) {
    close();
    // A path without a slash would make dlopen search the library path instead of the file named.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
        return false;
    }
    return true;
}

void PluginLibrary::close() {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
}

void* PluginLibrary::findSymbol(const char* name) const {
    if (handle == nullptr) return nullptr;
    return dlsym(handle, name);
}

#endif
