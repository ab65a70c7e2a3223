// roomplate_soak SECONDS PLUGIN_DIR: eight instances of each format (VST 2,
// CLAP, LV2, VST 3) in one process, for SECONDS:
//  - the audio thread processes every instance, block sizes changing with
//    every call, through scenes of noise, silence and bursts, and checks each
//    block: finite output within ±0.99, no allocation inside the call;
//  - the automation thread sets random parameters of all of them;
//  - the main thread switches programs, saves states and restores them into
//    instances of the same format, and opens, idles, clicks and closes an
//    editor of each format in a loop (on the X display of DISPLAY);
//  - at the end, with the automation stopped, every instance and a fresh one
//    given its state must render the same samples from a restart.
// Prints blocks, worst and median block time (CPU time of the audio thread)
// per format and the states round-tripped; exits 1 on any failure.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "reverb/parameter_table.h"
#include "tests/soak/audio_allocations.h"
#include "tests/soak/block_times.h"
#include "tests/soak/clap_instance.h"
#include "tests/soak/editor_exerciser.h"
#include "tests/soak/lv2_instance.h"
#include "tests/soak/record_instance.h"
#include "tests/soak/signal_scenes.h"
#include "tests/soak/soak_random.h"
#include "tests/soak/vst3_instance.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr std::int32_t kMaxBlockFrames = 2048;
constexpr int kInstancesPerFormat = 8;
constexpr float kOutputLimit = 0.99f;
// The audio thread renders this many seconds of audio a second of wall time
// (each instance): enough for millions of blocks, without a core to itself.
constexpr double kAudioSpeed = 8.0;
constexpr int kFirstFailuresShown = 10;
constexpr std::int32_t kComparisonBlocks = 400;

using InstanceMaker = std::function<std::unique_ptr<SoakInstance>(std::string& error)>;

struct Format {
    Format(std::string name, InstanceMaker make, bool restartClearsFilters)
        : name(std::move(name)), make(std::move(make)), restartClearsFilters(restartClearsFilters) {}

    std::string name;
    InstanceMaker make;
    // VST 2's suspend leaves the diffusers' inner lowpasses as they are, by
    // the plug-in's definition; the other formats' resets start from nothing.
    bool restartClearsFilters;
    std::vector<std::unique_ptr<SoakInstance>> instances;
    BlockTimes times;               // audio thread
    std::uint64_t badBlocks = 0;    // audio thread
    std::uint64_t allocations = 0;  // audio thread
    std::uint64_t programSwitches = 0;
    std::uint64_t statesRoundTripped = 0;
    std::uint64_t editorCycles = 0;
    std::uint64_t mismatches = 0;
};

std::atomic<int> failuresShown{0};

void reportFailure(const std::string& what) {
    if (failuresShown.fetch_add(1) < kFirstFailuresShown) std::fprintf(stderr, "FAIL %s\n", what.c_str());
}

// Automation sets the sound parameters, which every format shares; bypass and
// "About" are left as they are.
constexpr std::int32_t kSoundParameterCount = kAbout;

// A switch takes only 0 or 1 from a host (anything else leaves it as it was,
// which no saved value could restore); the rest any value 0 … 1.
float randomValue(SoakRandom& random, std::int32_t index) {
    const bool isSwitch = kParameterTable[static_cast<std::size_t>(index)].kind == ParameterKind::kStageSwitch;
    return isSwitch ? static_cast<float>(random.below(2)) : random.unit();
}

// CPU time of the calling thread: on a shared machine, wall-clock time would count other programs' turns.
std::int64_t threadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Audio thread: one block of one instance, timed (CPU time) and checked.
void processChecked(Format& format, std::size_t instance, StereoBuffers& buffers, std::int32_t frames) {
    float* const inputs[2] = {buffers.inLeft.data(), buffers.inRight.data()};
    float* const outputs[2] = {buffers.outLeft.data(), buffers.outRight.data()};
    std::uint64_t allocations = 0;
    const std::int64_t start = threadNanoseconds();
    {
        const AudioCallWatch watch;
        format.instances[instance]->process(inputs, outputs, frames);
        allocations = watch.allocations();
    }
    format.times.record(threadNanoseconds() - start);
    format.allocations += allocations;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float left = buffers.outLeft[static_cast<std::size_t>(i)];
        const float right = buffers.outRight[static_cast<std::size_t>(i)];
        if (std::isfinite(left) && std::isfinite(right) && std::fabs(left) <= kOutputLimit &&
            std::fabs(right) <= kOutputLimit)
            continue;
        ++format.badBlocks;
        reportFailure(format.name + " instance " + std::to_string(instance) + ": output " + std::to_string(left) +
                      ", " + std::to_string(right) + " at frame " + std::to_string(i));
        break;
    }
    if (allocations != 0)
        reportFailure(format.name + " instance " + std::to_string(instance) + ": " + std::to_string(allocations) +
                      " allocations in one block");
}

// Every instance of every format, one block each a round, until told to stop
// (one more round after that, so that all queued values are in).
void audioThread(std::vector<Format>& formats, const std::atomic<bool>& stop) {
    SoakRandom random(1);
    std::vector<std::vector<SignalScenes>> scenes(formats.size());
    for (std::size_t f = 0; f < formats.size(); ++f)
        for (std::size_t i = 0; i < formats[f].instances.size(); ++i)
            scenes[f].emplace_back(static_cast<std::uint32_t>(100 * f + i + 7));
    StereoBuffers buffers(kMaxBlockFrames);
    const auto start = std::chrono::steady_clock::now();
    double audioSeconds = 0.0;
    for (bool last = false; !last;) {
        last = stop.load();
        const auto frames = static_cast<std::int32_t>(1 + random.below(kMaxBlockFrames));
        for (std::size_t f = 0; f < formats.size(); ++f) {
            for (std::size_t i = 0; i < formats[f].instances.size(); ++i) {
                scenes[f][i].fill(buffers, frames);
                processChecked(formats[f], i, buffers, frames);
            }
        }
        audioSeconds += frames / static_cast<double>(kSampleRate);
        const auto due = start + std::chrono::duration<double>(audioSeconds / kAudioSpeed);
        if (!last) std::this_thread::sleep_until(due);
    }
}

void automationThread(std::vector<Format>& formats, const std::atomic<bool>& stop, std::uint64_t& changes) {
    SoakRandom random(2);
    while (!stop.load()) {
        for (Format& format : formats) {
            for (int n = 0; n < 4; ++n) {
                SoakInstance& instance = *format.instances[random.below(format.instances.size())];
                const auto index = static_cast<std::int32_t>(random.below(kSoundParameterCount));
                instance.automate(index, randomValue(random, index));
                ++changes;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Main thread: a program switch or a state carried from one instance to another of the format.
void programOrState(Format& format, SoakRandom& random) {
    SoakInstance& target = *format.instances[random.below(format.instances.size())];
    if (random.below(2) == 0 && target.programCount() > 0) {
        target.selectProgram(static_cast<std::int32_t>(random.below(target.programCount())));
        ++format.programSwitches;
        return;
    }
    SoakInstance& source = *format.instances[random.below(format.instances.size())];
    const std::vector<std::uint8_t> state = source.saveState();
    if (state.empty() || !target.restoreState(state))
        reportFailure(format.name + ": a state saved by one instance was refused by another");
    ++format.statesRoundTripped;
}

// The first frame at which the two outputs differ in any bit; frames when none does.
std::int32_t firstDifference(const StereoBuffers& ours, const StereoBuffers& theirs, std::int32_t frames) {
    for (std::int32_t i = 0; i < frames; ++i) {
        const auto frame = static_cast<std::size_t>(i);
        if (std::memcmp(&ours.outLeft[frame], &theirs.outLeft[frame], sizeof(float)) != 0 ||
            std::memcmp(&ours.outRight[frame], &theirs.outRight[frame], sizeof(float)) != 0)
            return i;
    }
    return frames;
}

// Main thread, the other threads ended: the instance and a fresh one given
// its state render the same samples from a restart.
void compareWithFresh(Format& format) {
    for (std::size_t i = 0; i < format.instances.size(); ++i) {
        SoakInstance& instance = *format.instances[i];
        std::string error;
        std::unique_ptr<SoakInstance> fresh = format.make(error);
        if (!fresh || !fresh->restoreState(instance.saveState())) {
            reportFailure(format.name + ": no fresh instance took the state: " + error);
            ++format.mismatches;
            continue;
        }
        ++format.statesRoundTripped;
        if (!format.restartClearsFilters) {
            // Colour 1: the inner lowpasses pass their input, so what they held is gone after one step.
            instance.automate(kColour, 1.0f);
            fresh->automate(kColour, 1.0f);
        }
        instance.restart();
        fresh->restart();
        SignalScenes scenes(static_cast<std::uint32_t>(1000 + i));
        SoakRandom random(static_cast<std::uint32_t>(2000 + i));
        StereoBuffers ours(kMaxBlockFrames), theirs(kMaxBlockFrames);
        for (std::int32_t block = 0; block < kComparisonBlocks; ++block) {
            const auto frames = static_cast<std::int32_t>(1 + random.below(kMaxBlockFrames));
            scenes.fill(ours, frames);
            theirs.inLeft = ours.inLeft;
            theirs.inRight = ours.inRight;
            float* const oursIn[2] = {ours.inLeft.data(), ours.inRight.data()};
            float* const oursOut[2] = {ours.outLeft.data(), ours.outRight.data()};
            float* const theirsIn[2] = {theirs.inLeft.data(), theirs.inRight.data()};
            float* const theirsOut[2] = {theirs.outLeft.data(), theirs.outRight.data()};
            instance.process(oursIn, oursOut, frames);
            fresh->process(theirsIn, theirsOut, frames);
            const std::int32_t differing = firstDifference(ours, theirs, frames);
            if (differing == frames) continue;
            const auto frame = static_cast<std::size_t>(differing);
            reportFailure(format.name + " instance " + std::to_string(i) +
                          ": differs from a fresh one with its state, block " + std::to_string(block) + " frame " +
                          std::to_string(differing) + ": " + std::to_string(ours.outLeft[frame]) + " against " +
                          std::to_string(theirs.outLeft[frame]));
            ++format.mismatches;
            break;
        }
    }
}

void printSummary(const std::vector<Format>& formats, double seconds, std::uint64_t parameterChanges) {
    std::printf("soak: %.0f s, %d instances of each of %zu formats, %llu parameter changes\n", seconds,
                kInstancesPerFormat, formats.size(), static_cast<unsigned long long>(parameterChanges));
    std::printf("%-6s %12s %12s %12s %10s %10s %10s %10s %10s\n", "format", "blocks", "median_us", "worst_us",
                "programs", "states", "editors", "bad", "allocs");
    for (const Format& format : formats)
        std::printf("%-6s %12llu %12.1f %12.1f %10llu %10llu %10llu %10llu %10llu\n", format.name.c_str(),
                    static_cast<unsigned long long>(format.times.count()), format.times.medianNanoseconds() / 1000.0,
                    format.times.worstNanoseconds() / 1000.0, static_cast<unsigned long long>(format.programSwitches),
                    static_cast<unsigned long long>(format.statesRoundTripped),
                    static_cast<unsigned long long>(format.editorCycles),
                    static_cast<unsigned long long>(format.badBlocks + format.mismatches),
                    static_cast<unsigned long long>(format.allocations));
}

std::vector<Format> loadFormats(const std::string& pluginFolder, bool& ok) {
    std::vector<Format> formats;
    formats.emplace_back(
        "VST2",
        [pluginFolder](std::string& error) -> std::unique_ptr<SoakInstance> {
            return RecordInstance::load(pluginFolder + "/roomplate.so", kSampleRate, kMaxBlockFrames, error);
        },
        false);
    formats.emplace_back(
        "CLAP",
        [pluginFolder](std::string& error) -> std::unique_ptr<SoakInstance> {
            return ClapInstance::load(pluginFolder + "/roomplate.clap", kSampleRate, kMaxBlockFrames, error);
        },
        true);
    formats.emplace_back(
        "LV2",
        [pluginFolder](std::string& error) -> std::unique_ptr<SoakInstance> {
            return Lv2Instance::load(pluginFolder + "/roomplate.lv2/", kSampleRate, error);
        },
        true);
    formats.emplace_back(
        "VST3",
        [pluginFolder](std::string& error) -> std::unique_ptr<SoakInstance> {
            return Vst3Instance::load(pluginFolder + "/Roomplate.vst3", kSampleRate, kMaxBlockFrames, error);
        },
        true);
    ok = true;
    for (Format& format : formats) {
        for (int i = 0; i < kInstancesPerFormat; ++i) {
            std::string error;
            std::unique_ptr<SoakInstance> instance = format.make(error);
            if (!instance) {
                std::fprintf(stderr, "soak: %s: %s\n", format.name.c_str(), error.c_str());
                ok = false;
                return formats;
            }
            format.instances.push_back(std::move(instance));
        }
    }
    return formats;
}

// The watch must see what a plug-in allocates, or its zero means nothing.
bool allocationWatchSeesPlugins(Format& format) {
    std::string error;
    const AudioCallWatch watch;
    const std::unique_ptr<SoakInstance> instance = format.make(error);
    return watch.allocations() > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: roomplate_soak SECONDS PLUGIN_FOLDER\n");
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    bool loaded = false;
    std::vector<Format> formats = loadFormats(argv[2], loaded);
    if (!loaded) return 1;
    for (Format& format : formats)
        if (!allocationWatchSeesPlugins(format))
            reportFailure(format.name + ": the allocation watch saw no allocation of a new instance");
    EditorExerciser editors;
    if (!editors.isReady()) {
        std::fprintf(stderr, "soak: cannot open the X display (run it under Xvfb)\n");
        return 1;
    }

    std::atomic<bool> stopAutomation{false}, stopAudio{false};
    std::uint64_t parameterChanges = 0;
    std::thread audio(audioThread, std::ref(formats), std::cref(stopAudio));
    std::thread automation(automationThread, std::ref(formats), std::cref(stopAutomation), std::ref(parameterChanges));
    SoakRandom random(3);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        for (Format& format : formats) {
            for (int n = 0; n < 4; ++n) programOrState(format, random);
            if (editors.cycle(*format.instances[0], random))
                ++format.editorCycles;
            else
                reportFailure(format.name + ": the editor did not open");
        }
    }
    stopAutomation = true;
    automation.join();
    stopAudio = true;
    audio.join();
    for (Format& format : formats) compareWithFresh(format);

    printSummary(formats, seconds, parameterChanges);
    const int failures = failuresShown.load();
    std::printf("%s: %d failures\n", failures == 0 ? "soak passed" : "soak FAILED", failures);
    return failures == 0 ? 0 : 1;
}
