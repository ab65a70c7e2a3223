// Replays the fuzzer's seed corpus and every input it ever failed on
// (regressions/, one file a fault, named after it) through the same harness,
// against the plug-in's own entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/roomplate_entry_point.h"

namespace {

std::vector<std::filesystem::path> inputsIn(const char* folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(RP_FUZZ_DIR) / folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

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

}  // namespace
