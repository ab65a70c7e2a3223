// roomplate snapshot: a plug-in's editor opened in a window of ours, painted,
// and the window's pixels written as PNG.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"
#include "host/cli/plugin_loading.h"
#include "host/editor_window/editor_host_window.h"
#include "host/editor_window/png_file.h"
#include "host/loader/ignore_case.h"

namespace {

// The centre of Roomplate's About button (460, 4 to 506, 24).
constexpr int kAboutButtonX = 483;
constexpr int kAboutButtonY = 14;

struct SnapshotOptions {
    std::string output = "editor.png";
    std::string program;
    std::vector<std::string> settings;
    bool about = false;
    std::string plugin = defaultPluginPath();
};

void snapshot(const SnapshotOptions& options) {
    if (!equalIgnoringCase(std::filesystem::path(options.output).extension().string(), ".png"))
        throw CommandError(options.output + ": the snapshot is a PNG file; name it .png");
    const std::vector<ParameterSetting> settings = parseSettings(options.settings);
    auto plugin = loadConfiguredPlugin(options.plugin, options.program, settings);
    RgbaImage image;
    {
        EditorHostWindow host(*plugin);
        host.settle();
        if (options.about) {
            host.click(kAboutButtonX, kAboutButtonY);
            host.settle();
        }
        image = host.capture();
    }
    writePng(image, options.output);
    std::printf("wrote %s: %d x %d, the editor of %s\n", options.output.c_str(), image.width, image.height,
                std::filesystem::path(options.plugin).filename().string().c_str());
}

}  // namespace

void addSnapshotCommand(CLI::App& app) {
    auto* command = app.add_subcommand("snapshot", "Open a plug-in's editor in a window, paint it and write it as PNG");
    auto options = std::make_shared<SnapshotOptions>();
    command->add_option("-o,--output", options->output, "PNG file to write")->capture_default_str();
    addProgramAndSetOptions(*command, options->program, options->settings);
    command->add_flag("--about", options->about, "Click Roomplate's About button first: the credits picture");
    command->add_option("--plugin", options->plugin, kPluginOptionHelp);
    command->footer(
        "Examples:\n"
        "  roomplate snapshot -o editor.png\n"
        "  roomplate snapshot --program Dattorro --set 26=0.8 -o dattorro.png\n"
        "  roomplate snapshot --about -o credits.png");
    command->callback([options] { snapshot(*options); });
}
