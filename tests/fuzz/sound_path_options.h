// The fast harness's settings, shared by its fuzzer and its replay test.
#pragma once

#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/roomplate_entry_point.h"

// Short blocks, as hosts at low latency send them; a few of them an input.
constexpr std::int32_t kShortBlockFrames = 256;
constexpr std::int64_t kSoundPathFramesAnInput = 4 * kShortBlockFrames;

inline HarnessOptions soundPathOptions(KeptInstance& kept) {
    HarnessOptions options;
    options.entry = VSTPluginMain;
    options.kept = &kept;
    options.editor = false;
    options.maxBlockFrames = kShortBlockFrames;
    options.frameBudget = kSoundPathFramesAnInput;
    return options;
}
