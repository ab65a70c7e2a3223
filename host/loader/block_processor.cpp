#include "host/loader/block_processor.h"

#include <algorithm>
#include <stdexcept>
#include <string>

BlockProcessor::BlockProcessor(AEffect& effect, std::int32_t maxBlockFrames)
    : effect(effect), maxBlockFrames(maxBlockFrames), outputCount(effect.numOutputs) {
    if (effect.numOutputs < 1) throw std::runtime_error("the plug-in has no audio outputs");
    if (effect.numInputs > kMaxChannels || effect.numOutputs > kMaxChannels)
        throw std::runtime_error("the plug-in declares " + std::to_string(effect.numInputs) + " inputs and " +
                                 std::to_string(effect.numOutputs) + " outputs; at most " +
                                 std::to_string(kMaxChannels) + " are hosted");
    const auto frames = static_cast<std::size_t>(maxBlockFrames);
    const std::int32_t inputCount = std::max(2, effect.numInputs);
    const std::int32_t outputBuffers = std::max(2, effect.numOutputs);
    silentInputs.assign(static_cast<std::size_t>(inputCount - 2) * frames, 0.0f);
    outputs.assign(static_cast<std::size_t>(outputBuffers) * frames, 0.0f);
    inputPointers.assign(static_cast<std::size_t>(inputCount), nullptr);
    for (std::int32_t channel = 2; channel < inputCount; ++channel)
        inputPointers[static_cast<std::size_t>(channel)] = silentInputs.data() + (channel - 2) * frames;
    for (std::int32_t channel = 0; channel < outputBuffers; ++channel)
        outputPointers.push_back(outputs.data() + static_cast<std::size_t>(channel) * frames);
}

void BlockProcessor::process(float* left, float* right, std::int32_t frames) {
    frames = std::clamp(frames, 0, maxBlockFrames);
    inputPointers[0] = left;
    inputPointers[1] = right;
    std::fill(outputs.begin(), outputs.end(), 0.0f);
    const bool replacing = (effect.flags & effFlagsCanReplacing) != 0 && effect.processReplacing != nullptr;
    const ProcessProc entry = replacing ? effect.processReplacing : effect.process;
    if (entry != nullptr) entry(&effect, inputPointers.data(), outputPointers.data(), frames);
}
