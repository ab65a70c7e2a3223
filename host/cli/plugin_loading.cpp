#include "host/cli/plugin_loading.h"

#include <CLI/CLI.hpp>

#include "host/cli/command_error.h"

std::vector<ParameterSetting> parseSettings(const std::vector<std::string>& texts) {
    std::vector<ParameterSetting> settings;
    for (const std::string& text : texts) settings.push_back(parseParameterSetting(text));
    return settings;
}

std::unique_ptr<HostedPlugin> loadConfiguredPlugin(const std::string& path, const std::string& program,
                                                   const std::vector<ParameterSetting>& settings) {
    std::string error;
    auto plugin = HostedPlugin::load(path, error);
    if (!plugin) throw CommandError(error);
    applyProgramAndSettings(*plugin->effect(), program, settings);
    return plugin;
}

void addProgramAndSetOptions(CLI::App& command, std::string& program, std::vector<std::string>& settings) {
    command.add_option("--program", program,
                       "Program before the settings: Init or Dattorro (a number, or a name of another plug-in's)");
    command
        .add_option("--set", settings,
                    "Set parameter INDEX (0 to 57 for Roomplate) to VALUE (0 to 1); repeatable, applied in order")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false);
}
