// roomplate bench: the CPU time plug-ins take to process white noise, measured
// in one run, round-robin, so that drift of the machine hits all of them alike.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"
#include "host/cli/plugin_loading.h"
#include "host/loader/bench_subject.h"
#include "host/loader/hosted_plugin.h"
#include "host/loader/plugin_setup.h"

namespace {

constexpr int kBenchSampleRate = 44100;
constexpr double kNoiseRingSeconds = 10.0;
constexpr double kWarmUpSeconds = 1.0;

struct BenchOptions {
    std::vector<std::string> plugins;
    double seconds = 60.0;
    int blockFrames = kDefaultBlockFrames;
    int rounds = 5;
    std::string program;
};

struct Contender {
    std::string path;
    std::unique_ptr<HostedPlugin> plugin;
    std::unique_ptr<BenchSubject> subject;
    std::vector<double> cpuSeconds;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

// The file names, or the paths as given when two plug-ins share a file name.
std::vector<std::string> displayNames(const std::vector<Contender>& contenders) {
    std::vector<std::string> names;
    for (const Contender& contender : contenders)
        names.push_back(std::filesystem::path(contender.path).filename().string());
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) return names;
    names.clear();
    for (const Contender& contender : contenders) names.push_back(contender.path);
    return names;
}

// Every plug-in is loaded, set up, started and given its buffers before any timing.
std::vector<Contender> prepare(const BenchOptions& options) {
    const auto noiseFrames = static_cast<std::size_t>(kNoiseRingSeconds * kBenchSampleRate);
    std::vector<Contender> contenders;
    for (const std::string& path : options.plugins) {
        Contender contender;
        contender.path = path;
        std::string error;
        contender.plugin = HostedPlugin::load(path, error);
        if (!contender.plugin) throw CommandError(error);
        AEffect& effect = *contender.plugin->effect();
        try {
            applyProgramAndSettings(effect, options.program, {});
            contender.subject = std::make_unique<BenchSubject>(effect, options.blockFrames, noiseFrames);
        } catch (const std::exception& failure) {
            throw CommandError(path + ": " + failure.what());
        }
        contender.plugin->start(static_cast<float>(kBenchSampleRate), options.blockFrames);
        contenders.push_back(std::move(contender));
    }
    return contenders;
}

// Seconds of audio per CPU second, from the median round of each plug-in.
std::vector<double> realTimeFactors(const BenchOptions& options, const std::vector<Contender>& contenders,
                                    const std::vector<std::string>& names) {
    std::vector<double> factors;
    for (std::size_t i = 0; i < contenders.size(); ++i) {
        const double cpu = median(contenders[i].cpuSeconds);
        if (cpu <= 0.0) throw CommandError(names[i] + ": the CPU clock did not advance; raise --seconds");
        factors.push_back(options.seconds / cpu);
    }
    return factors;
}

void printTable(const BenchOptions& options, const std::vector<Contender>& contenders) {
    const std::vector<std::string> names = displayNames(contenders);
    const std::vector<double> factors = realTimeFactors(options, contenders, names);
    int nameWidth = static_cast<int>(std::string("plug-in").size());
    for (const std::string& name : names) nameWidth = std::max(nameWidth, static_cast<int>(name.size()));
    std::printf("%.1f s of white noise at %d Hz in blocks of %d, median of %d rounds, CPU time of one thread\n",
                options.seconds, kBenchSampleRate, options.blockFrames, options.rounds);
    std::printf("%-*s  %14s  %8s\n", nameWidth, "plug-in", "real-time", "ratio");
    for (std::size_t i = 0; i < contenders.size(); ++i)
        std::printf("%-*s  %13.1fx  %8.2f\n", nameWidth, names[i].c_str(), factors[i], factors[i] / factors[0]);
}

void bench(BenchOptions options) {
    if (options.plugins.empty()) options.plugins.push_back(defaultPluginPath());
    if (!(options.seconds > 0.0 && options.seconds <= 3600.0))
        throw CommandError("--seconds: the length is more than 0 and at most 3600 seconds");
    std::vector<Contender> contenders = prepare(options);
    const auto frames = static_cast<std::uint64_t>(std::llround(options.seconds * kBenchSampleRate));
    const auto warmUpFrames = std::min(frames, static_cast<std::uint64_t>(kWarmUpSeconds * kBenchSampleRate));
    for (Contender& contender : contenders) contender.subject->timeRound(warmUpFrames);
    // Each round starts with the next plug-in, so that none always runs first.
    for (int round = 0; round < options.rounds; ++round)
        for (std::size_t turn = 0; turn < contenders.size(); ++turn) {
            Contender& contender = contenders[(static_cast<std::size_t>(round) + turn) % contenders.size()];
            contender.cpuSeconds.push_back(contender.subject->timeRound(frames));
        }
    printTable(options, contenders);
}

}  // namespace

void addBenchCommand(CLI::App& app) {
    auto* command = app.add_subcommand("bench", "Time plug-ins processing white noise and compare them");
    auto options = std::make_shared<BenchOptions>();
    command
        ->add_option("--plugin", options->plugins,
                     std::string(kPluginFileKinds) +
                         " plug-in file; repeat to compare, the first is the reference (default: Roomplate)")
        ->allow_extra_args(false);
    command->add_option("--seconds", options->seconds, "Seconds of audio each plug-in processes per round")
        ->capture_default_str();
    command->add_option("--block", options->blockFrames, "Frames per processing call")
        ->check(CLI::Range(1, kMaxBlockFrames))
        ->capture_default_str();
    command->add_option("--rounds", options->rounds, "Rounds over all plug-ins; the median is reported")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();
    command->add_option("--program", options->program, "Program each plug-in runs (a number, or a name)");
    command->footer(
        "Example:\n"
        "  roomplate bench --plugin build/linux/bin/roomplate.so --plugin /usr/lib/vst/MVerb-vst.so\n"
        "  roomplate bench --plugin build/linux/bin/roomplate.so --plugin build/linux/bin/Roomplate.vst3 "
        "--plugin build/linux/bin/roomplate.clap");
    command->callback([options] { bench(*options); });
}
