// What every command that runs a plug-in does first: load it and apply
// --program and --set, each failure a CommandError.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/loader/hosted_plugin.h"
#include "host/loader/plugin_setup.h"

namespace CLI {
class App;
}

// What --plugin takes, the loader chosen by the name's extension.
inline constexpr const char* kPluginFileKinds = "VST 2, CLAP (.clap) or VST 3 (.vst3 bundle or module)";
inline const std::string kPluginOptionHelp =
    std::string(kPluginFileKinds) + " plug-in file (default: the Roomplate plug-in beside this program)";

// The --program and --set options, the same for every command.
void addProgramAndSetOptions(CLI::App& command, std::string& program, std::vector<std::string>& settings);
// Each "INDEX=VALUE" text checked, in order.
std::vector<ParameterSetting> parseSettings(const std::vector<std::string>& texts);
// Loads the plug-in, selects the program (unless empty) and applies the settings.
std::unique_ptr<HostedPlugin> loadConfiguredPlugin(const std::string& path, const std::string& program,
                                                   const std::vector<ParameterSetting>& settings);
