// Replays the seeds and every saved failure of the VST 3, CLAP and LV2
// harnesses (each harness's folder: corpus/ and regressions/, one file a
// fault, named after it) through the harness the fuzzer uses.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/fuzz/clap_harness.h"
#include "tests/fuzz/lv2_harness.h"
#include "tests/fuzz/replay_files.h"
#include "tests/fuzz/vst3_harness.h"

namespace {

using Play = std::function<std::string(const std::vector<std::uint8_t>&)>;

// Plays every input of harness/corpus and harness/regressions; answers how many there were.
std::size_t replayAll(const char* harness, std::size_t seedsAtLeast, const Play& play) {
    std::size_t played = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const std::vector<std::filesystem::path> files = inputsIn(std::filesystem::path(harness) / folder);
        if (std::string(folder) == "corpus") {
            EXPECT_GE(files.size(), seedsAtLeast) << harness << " seeds";
        }
        for (const std::filesystem::path& file : files) {
            EXPECT_EQ(play(bytesOf(file)), "") << harness << "/" << folder << "/" << file.filename().string();
            ++played;
        }
    }
    return played;
}

// The state seeds reach both answers: some are accepted, some refused.
template <typename Harness>
void replayStates(const char* folder) {
    Harness harness;
    int accepted = 0, refused = 0;
    replayAll(folder, 8, [&](const std::vector<std::uint8_t>& bytes) {
        const std::string failure = harness.playState(bytes.data(), bytes.size());
        ++(harness.lastStateAccepted() ? accepted : refused);
        return failure;
    });
    EXPECT_GE(accepted, 2) << folder;
    EXPECT_GE(refused, 4) << folder;
}

TEST(FormatFuzzReplay, Vst3StatesAreRefusedWithoutChangeOrReadBackAsThemselves) {
    replayStates<Vst3Harness>("vst3_state");
}

TEST(FormatFuzzReplay, ClapStatesAreRefusedWithoutChangeOrReadBackAsThemselves) {
    replayStates<ClapHarness>("clap_state");
}

TEST(FormatFuzzReplay, Vst3ParameterChangesAnywhereKeepTheOutputPromise) {
    Vst3Harness harness;
    replayAll("vst3_events", 4,
              [&](const std::vector<std::uint8_t>& bytes) { return harness.playEvents(bytes.data(), bytes.size()); });
}

TEST(FormatFuzzReplay, ClapEventsAnywhereKeepTheOutputPromise) {
    ClapHarness harness;
    replayAll("clap_events", 4,
              [&](const std::vector<std::uint8_t>& bytes) { return harness.playEvents(bytes.data(), bytes.size()); });
}

TEST(FormatFuzzReplay, Lv2RunsAtAnyPortValueAndBlockSizeKeepTheOutputPromise) {
    Lv2Harness harness;
    replayAll("lv2_run", 4,
              [&](const std::vector<std::uint8_t>& bytes) { return harness.play(bytes.data(), bytes.size()); });
}

}  // namespace
