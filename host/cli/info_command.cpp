// roomplate info: what a plug-in's record, programs and parameters say.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"
#include "host/cli/plugin_loading.h"
#include "host/loader/hosted_plugin.h"
#include "host/loader/plugin_setup.h"

namespace {

// Text buffers far larger than any plug-in should write, always terminated afterwards.
constexpr std::size_t kTextBufferBytes = 256;

std::string queryText(const HostedPlugin& plugin, std::int32_t opcode, std::int32_t index = 0) {
    char text[kTextBufferBytes] = {};
    plugin.dispatch(opcode, index, 0, text);
    text[kTextBufferBytes - 1] = '\0';
    return text;
}

std::string fourCharText(std::int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '.';
    }
    return text;
}

void printInfo(const std::string& path) {
    std::string error;
    auto plugin = HostedPlugin::load(path, error);
    if (!plugin) throw CommandError(error);
    const AEffect* record = plugin->effect();
    std::printf("plugin: %s\n", path.c_str());
    std::printf("magic: %s\n", fourCharText(record->magic).c_str());
    std::printf("unique id: %s (0x%08X)\n", fourCharText(record->uniqueID).c_str(),
                static_cast<unsigned>(record->uniqueID));
    std::printf("version: %d\n", record->version);
    std::printf("programs: %d\nparameters: %d\ninputs: %d\noutputs: %d\n", record->numPrograms, record->numParams,
                record->numInputs, record->numOutputs);
    std::printf("flags: 0x%X\n", static_cast<unsigned>(record->flags));
    std::printf("initial delay: %d\n", record->initialDelay);
    std::printf("vst version: %ld\n", static_cast<long>(plugin->dispatch(effGetVstVersion)));
    std::printf("category: %ld\n", static_cast<long>(plugin->dispatch(effGetPlugCategory)));

    const auto current = static_cast<std::int32_t>(plugin->dispatch(effGetProgram));
    for (std::int32_t program = 0; program < record->numPrograms; ++program)
        std::printf("program %d: %s\n", program, programName(*plugin->effect(), program).c_str());
    if (record->numPrograms > 0) plugin->dispatch(effSetProgram, 0, current);

    for (std::int32_t index = 0; index < record->numParams; ++index) {
        const float value = record->getParameter(const_cast<AEffect*>(record), index);
        std::printf("param %d: %.6f", index, static_cast<double>(value));
        const std::string name = queryText(*plugin, effGetParamName, index);
        const std::string display = queryText(*plugin, effGetParamDisplay, index);
        const std::string label = queryText(*plugin, effGetParamLabel, index);
        if (!name.empty()) std::printf(" name \"%s\"", name.c_str());
        if (!display.empty()) std::printf(" display \"%s\"", display.c_str());
        if (!label.empty()) std::printf(" label \"%s\"", label.c_str());
        std::printf("\n");
    }
}

}  // namespace

void addInfoCommand(CLI::App& app) {
    auto* command = app.add_subcommand("info", "Print a plug-in's record, programs and parameters");
    auto path = std::make_shared<std::string>(defaultPluginPath());
    command->add_option("--plugin", *path, kPluginOptionHelp);
    command->footer("Example:\n  roomplate info\n  roomplate info --plugin /usr/lib/lxvst/DragonflyPlateReverb-vst.so");
    command->callback([path] { printInfo(*path); });
}
