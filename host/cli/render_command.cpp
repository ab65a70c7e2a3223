// roomplate render: an audio file, or the built-in demo, through a plug-in into a WAV file.
#include <CLI/CLI.hpp>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/audio/audio_file_reader.h"
#include "host/audio/audio_file_writer.h"
#include "host/audio/buffer_source.h"
#include "host/audio/demo_signal.h"
#include "host/audio/pending_file.h"
#include "host/audio/progress_line.h"
#include "host/cli/command_error.h"
#include "host/cli/commands.h"
#include "host/cli/plugin_loading.h"
#include "host/loader/hosted_plugin.h"
#include "host/loader/ignore_case.h"
#include "host/loader/plugin_setup.h"
#include "host/loader/renderer.h"

namespace {

constexpr double kDefaultTailSeconds = 4.0;
constexpr double kMaxTailSeconds = 60.0;
constexpr const char* kDemoOutput = "roomplate-demo-wet.wav";

struct FormatChoice {
    const char* option;
    SampleFormat format;
    const char* description;
};
constexpr FormatChoice kFormats[] = {
    {"float", SampleFormat::Float, "32-bit float"},
    {"pcm16", SampleFormat::Pcm16, "16-bit PCM"},
    {"pcm24", SampleFormat::Pcm24, "24-bit PCM"},
};

struct RenderOptions {
    std::string input;
    std::string output;
    std::string dryOutput;
    std::string program;
    std::vector<std::string> settings;
    int blockFrames = kDefaultBlockFrames;
    double tailSeconds = kDefaultTailSeconds;
    std::string format = "float";
    std::string plugin = defaultPluginPath();
};

// Set by Ctrl-C or a termination request (`kill`, `timeout`) so the render
// stops between blocks and removes what it started.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

// Catches both signals for its lifetime, then gives them back to what caught them before.
class InterruptCatcher {
public:
    InterruptCatcher()
        : previousInterrupt(std::signal(SIGINT, onInterrupt)), previousTerminate(std::signal(SIGTERM, onInterrupt)) {
        interrupted = 0;
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;
    ~InterruptCatcher() {
        std::signal(SIGINT, previousInterrupt);
        std::signal(SIGTERM, previousTerminate);
    }

private:
    void (*previousInterrupt)(int);
    void (*previousTerminate)(int);
};

// IN's name with "-wet" before the extension; the output is always WAV.
std::string defaultOutputPath(const std::string& input) {
    if (input.empty()) return kDemoOutput;
    const std::filesystem::path path(input);
    return (path.parent_path() / (path.stem().string() + "-wet.wav")).string();
}

bool hasWavExtension(const std::string& path) {
    return equalIgnoringCase(std::filesystem::path(path).extension().string(), ".wav");
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code ignored;
    if (std::filesystem::equivalent(a, b, ignored)) return true;
    return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

void checkOptions(const RenderOptions& options) {
    for (const std::string* path : {&options.output, &options.dryOutput}) {
        if (path->empty()) continue;
        if (!hasWavExtension(*path)) throw CommandError(*path + ": the output is a WAV file; name it .wav");
        if (!options.input.empty() && samePath(*path, options.input))
            throw CommandError(*path + ": the output would replace the input");
    }
    if (!options.dryOutput.empty() && samePath(options.output, options.dryOutput))
        throw CommandError(options.output + ": the wet and the dry output are the same file");
    if (!(options.tailSeconds >= 0.0 && options.tailSeconds <= kMaxTailSeconds))
        throw CommandError("--tail: the tail is 0 to 60 seconds");
}

void writeWhole(const StereoAudio& audio, const PendingFile& file, SampleFormat format) {
    AudioFileWriter writer(file.temporaryPath(), audio.sampleRate, format, file.finalPath());
    writer.write(audio.left.data(), audio.right.data(), audio.frames());
    writer.close();
}

// The --format option's text (already checked to be one of kFormats, in any case).
const FormatChoice& formatChoice(const std::string& option) {
    for (const FormatChoice& choice : kFormats)
        if (equalIgnoringCase(option, choice.option)) return choice;
    return kFormats[0];
}

// The source through the plug-in into the output (and the dry signal, when
// given, into the dry output); both appear only once everything is written.
void renderSource(const RenderOptions& options, const std::vector<ParameterSetting>& settings, AudioSource& source,
                  int sampleRate, std::uint64_t sourceFrames, const StereoAudio* dry) {
    const FormatChoice& format = formatChoice(options.format);
    auto plugin = loadConfiguredPlugin(options.plugin, options.program, settings);
    Renderer renderer(*plugin->effect(), options.blockFrames);

    std::optional<PendingFile> dryFile;
    if (dry != nullptr && !options.dryOutput.empty()) {
        dryFile.emplace(options.dryOutput);
        writeWhole(*dry, *dryFile, format.format);
    }
    PendingFile wetFile(options.output);
    AudioFileWriter writer(wetFile.temporaryPath(), sampleRate, format.format, wetFile.finalPath());

    plugin->start(static_cast<float>(sampleRate), options.blockFrames);
    const auto tailFrames = static_cast<std::uint64_t>(std::llround(options.tailSeconds * sampleRate));
    ProgressLine progress("rendering " + std::filesystem::path(options.output).filename().string(),
                          sourceFrames + tailFrames, sampleRate);
    std::uint64_t frames = 0;
    {
        const InterruptCatcher catcher;
        frames = renderer.render(source, tailFrames, writer, [&](std::uint64_t done) {
            progress.update(done);
            return interrupted == 0;
        });
    }
    progress.finish();
    if (interrupted != 0) throw CommandError("interrupted: nothing written");

    writer.close();
    if (dryFile) dryFile->commit();
    wetFile.commit();
    std::printf("wrote %s: %.2f s at %d Hz, %s, through %s\n", options.output.c_str(),
                static_cast<double>(frames) / sampleRate, sampleRate, format.description,
                std::filesystem::path(options.plugin).filename().string().c_str());
}

void render(RenderOptions options) {
    const std::vector<ParameterSetting> settings = parseSettings(options.settings);
    if (options.output.empty()) options.output = defaultOutputPath(options.input);
    checkOptions(options);
    if (!options.input.empty()) {
        AudioFileReader reader(options.input);  // streamed
        renderSource(options, settings, reader, reader.sampleRate(), reader.frames(), nullptr);
    } else {
        const StereoAudio demo = demoSignal();
        BufferSource source(demo);
        renderSource(options, settings, source, demo.sampleRate, demo.frames(), &demo);
    }
}

}  // namespace

void addRenderCommand(CLI::App& app) {
    auto* command = app.add_subcommand("render", "Render an audio file, or the built-in demo, through a plug-in");
    auto options = std::make_shared<RenderOptions>();
    auto* input = command->add_option("IN", options->input,
                                      "Audio file to render (WAV, FLAC, AIFF, OGG …); without it, the built-in demo");
    command->add_option("-o,--output", options->output,
                        "WAV file to write (default: IN's name with -wet, or roomplate-demo-wet.wav)");
    command->add_option("--dry-out", options->dryOutput, "Also write the built-in demo's dry signal to this WAV file")
        ->excludes(input);
    addProgramAndSetOptions(*command, options->program, options->settings);
    command->add_option("--block", options->blockFrames, "Frames per processing call")
        ->check(CLI::Range(1, kMaxBlockFrames))
        ->capture_default_str();
    command->add_option("--tail", options->tailSeconds, "Seconds of silence rendered after the input, for the tail")
        ->check(CLI::Range(0.0, kMaxTailSeconds))
        ->capture_default_str();
    std::vector<std::string> formatOptions;
    for (const FormatChoice& choice : kFormats) formatOptions.push_back(choice.option);
    command->add_option("--format", options->format, "Output samples: float (32-bit), pcm16 or pcm24")
        ->check(CLI::IsMember(formatOptions, CLI::ignore_case))
        ->capture_default_str();
    command->add_option("--plugin", options->plugin, kPluginOptionHelp);
    command->footer(
        "Examples:\n"
        "  roomplate render --dry-out demo-dry.wav -o demo-wet.wav\n"
        "  roomplate render song.flac --program Dattorro --set 26=0.4 --tail 6\n"
        "  roomplate render song.wav -o plate.wav --plugin /usr/lib/lxvst/DragonflyPlateReverb-vst.so");
    command->callback([options] { render(*options); });
}
