// Calls a plug-in's processing entry for one block the way a host does: with
// as many input and output buffers as the plug-in declares (at least two of
// each), inputs past the first two silent, and the outputs cleared first, so
// that frames a plug-in leaves unwritten read as silence and a plug-in that
// only has the accumulating entry (process) adds to silence.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/aeffect.h"

class BlockProcessor {
public:
    // Throws std::runtime_error when the plug-in declares no outputs or an implausible channel count.
    BlockProcessor(AEffect& effect, std::int32_t maxBlockFrames);
    BlockProcessor(const BlockProcessor&) = delete;
    BlockProcessor& operator=(const BlockProcessor&) = delete;

    // Processes frames (1 … maxBlockFrames) of the two given input channels.
    void process(float* left, float* right, std::int32_t frames);

    // The first two outputs; a plug-in with one output gives it to both.
    const float* outputLeft() const { return outputPointers[0]; }
    const float* outputRight() const { return outputPointers[outputCount > 1 ? 1 : 0]; }

private:
    static constexpr std::int32_t kMaxChannels = 64;

    AEffect& effect;
    std::int32_t maxBlockFrames;
    std::int32_t outputCount;
    std::vector<float> silentInputs;
    std::vector<float> outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};
