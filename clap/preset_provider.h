// The preset-discovery factory: one provider that lists the two factory
// programs, "Init" and "Dattorro", as presets inside the plug-in. A host
// loads one through the plug-in's preset-load extension with the program's
// name as the load key.
//
// Threads: the main thread, as the host's indexer calls it.
#pragma once

#include <clap/clap.h>

extern const clap_preset_discovery_factory_t kPresetDiscoveryFactory;
