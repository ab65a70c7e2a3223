// A loaded plug-in file: dlopen / LoadLibrary and symbol lookup. The library
// stays loaded for the object's life and is unloaded with it.
#pragma once

#include <string>

class PluginLibrary {
public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    // Loads the file; on failure answers false with a one-line reason in error.
    bool open(const std::string& path, std::string& error);
    void close();
    void* findSymbol(const char* name) const;
    bool isOpen() const { return handle != nullptr; }
    // The dlopen handle or HMODULE, for entries that ask for it (a VST 3 module's ModuleEntry).
    void* nativeHandle() const { return handle; }

private:
    void* handle = nullptr;
};
