// The presets a CLAP library's preset-discovery factory lists inside the
// plug-in itself (location kind "plugin"), with the keys that load them.
// Presets in files are not listed: our host has no file browser.
//
// Threads: the main thread.
#pragma once

#include <clap/clap.h>

#include <string>
#include <vector>

struct ClapPreset {
    std::string name;
    std::string loadKey;
};

// The presets of every provider of the entry, for the plug-in id; empty without the factory.
std::vector<ClapPreset> listPluginPresets(const clap_plugin_entry_t& entry, const char* pluginId);
