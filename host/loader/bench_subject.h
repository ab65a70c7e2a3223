// One plug-in under the benchmark: its block processor and its own ring of
// white noise (fixed seed), all allocated before any timing, and the CPU time
// each round of processing takes on this thread.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/aeffect.h"
#include "host/loader/block_processor.h"

class BenchSubject {
public:
    // The plug-in must already be started with this block size (HostedPlugin::start).
    BenchSubject(AEffect& effect, std::int32_t blockFrames, std::size_t noiseFrames);

    // Processes totalFrames frames of noise in blocks (the last may be shorter)
    // and answers the CPU seconds this thread spent on them.
    double timeRound(std::uint64_t totalFrames);

private:
    std::int32_t blockFrames;
    BlockProcessor processor;
    std::vector<float> noiseLeft;
    std::vector<float> noiseRight;
    std::size_t noisePosition = 0;
};
