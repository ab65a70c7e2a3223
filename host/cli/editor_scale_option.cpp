#include "host/cli/editor_scale_option.h"

#include <CLI/CLI.hpp>
#include <filesystem>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"

namespace {

// effVendorSpecific's index and value by which hosts scale a VST 2 editor, the factor in opt.
constexpr std::int32_t kScaleRequest = 0x50726553;    // 'PreS'
constexpr VstIntPtr kScaleRequestValue = 0x41654373;  // 'AeCs'

}  // namespace

void EditorScaleOption::addTo(CLI::App& command) {
    command
        .add_option("--scale", factor,
                    "Draw the editor 1, 1.5 or 2 times as large (default plug-in then: roomplate.clap beside this "
                    "program)")
        ->check([](const std::string& text) {
            return text == "1" || text == "1.5" || text == "2" ? std::string() : std::string("1, 1.5 or 2");
        })
        ->capture_default_str();
}

std::string EditorScaleOption::pluginFor(const std::string& named) const {
    if (!named.empty()) return named;
    if (factor == 1.0f) return defaultPluginPath();
    return (std::filesystem::path(defaultPluginPath()).parent_path() / "roomplate.clap").string();
}

void EditorScaleOption::applyTo(HostedPlugin& plugin) const {
    if (factor == 1.0f) return;
    if (plugin.dispatch(effVendorSpecific, kScaleRequest, kScaleRequestValue, nullptr, factor) == 0)
        throw CommandError(
            "the plug-in does not draw its editor at other scales (a VST 2 plug-in keeps its size; "
            "use the CLAP one)");
}
