// Replays the call-sequence seeds and every input either call-sequence
// fuzzer ever failed on (regressions/, one file a fault, named after it)
// through the same harness, against the plug-in's own entry: with the
// editor and a fresh instance an input, and as the fast harness plays them.
#include <gtest/gtest.h>

#include <vector>

#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/replay_files.h"
#include "tests/fuzz/roomplate_entry_point.h"
#include "tests/fuzz/sound_path_options.h"

namespace {

void replayAll(const char* folder, std::size_t atLeast, CallCounts* counts = nullptr) {
    const std::vector<std::filesystem::path> files = inputsIn(folder);
    ASSERT_GE(files.size(), atLeast) << "inputs in " << folder;
    HarnessOptions options;
    options.entry = VSTPluginMain;
    options.windows = defaultParentWindows();
    options.counts = counts;
    for (const std::filesystem::path& file : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(file);
        EXPECT_EQ(runCallSequence(bytes.data(), bytes.size(), options), "") << file.filename().string();
    }
}

// The seeds pass, and between them reach every command, every dispatcher
// opcode and some processing, so that fuzzing starts from deep inputs.
TEST(FuzzReplay, EverySeedInputPassesAndTheSeedsReachEveryCall) {
    CallCounts counts;
    replayAll("corpus", 10, &counts);
    for (std::size_t c = 0; c < counts.commands.size(); ++c) EXPECT_GT(counts.commands[c], 0) << "command " << c;
    for (std::size_t op = 0; op < counts.opcodes.size(); ++op)
        EXPECT_GT(counts.opcodes[op], 0) << "opcode " << static_cast<int>(op) + CallCounts::kLowestOpcode;
    EXPECT_GT(counts.framesProcessed, 50000);
}

TEST(FuzzReplay, EverySavedFailurePassesNow) { replayAll("regressions", 0); }

// The fast harness: every seed and saved failure passes on the kept instance,
// and sounds exactly as on a fresh instance although the kept one has just
// played the input before it, so its restoring leaves nothing behind.
TEST(FuzzReplay, AKeptInstanceRestoredPlaysEveryInputAsAFreshOne) {
    std::vector<std::filesystem::path> files = inputsIn("corpus");
    const std::vector<std::filesystem::path> regressions = inputsIn("regressions");
    files.insert(files.end(), regressions.begin(), regressions.end());
    KeptInstance kept;
    int audible = 0;
    for (const std::filesystem::path& file : files) {
        const std::vector<std::uint8_t> bytes = bytesOf(file);
        std::uint64_t keptDigest = 0, freshDigest = 0;
        HarnessOptions options = soundPathOptions(kept);
        options.outputDigest = &keptDigest;
        EXPECT_EQ(runCallSequence(bytes.data(), bytes.size(), options), "") << file.filename().string();
        KeptInstance unused;
        HarnessOptions fresh = soundPathOptions(unused);
        fresh.kept = nullptr;
        fresh.outputDigest = &freshDigest;
        EXPECT_EQ(runCallSequence(bytes.data(), bytes.size(), fresh), "") << file.filename().string();
        EXPECT_EQ(keptDigest, freshDigest) << file.filename().string();
        audible += keptDigest != 0;
    }
    EXPECT_GE(audible, 8);  // the comparison saw sound, not only empty inputs
}

}  // namespace
