// Buffers, a deterministic test signal and a run helper for the engine tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "reverb/reverb_effect.h"

// Two input and two output channels of one block, in the layout a host passes.
struct StereoBlock {
    explicit StereoBlock(std::int32_t frames, float outputFill = 0.0f)
        : in1(frames, 0.0f), in2(frames, 0.0f), out1(frames, outputFill), out2(frames, outputFill) {}
    float** inputs() {
        inputPointers[0] = in1.data();
        inputPointers[1] = in2.data();
        return inputPointers;
    }
    float** outputs() {
        outputPointers[0] = out1.data();
        outputPointers[1] = out2.data();
        return outputPointers;
    }
    std::vector<float> in1, in2, out1, out2;
    float* inputPointers[2] = {};
    float* outputPointers[2] = {};
};

// A reproducible noise source: integer arithmetic only, so every build makes the same samples.
class TestSignal {
public:
    explicit TestSignal(std::uint32_t seed = 12345u) : state(seed) {}
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(state >> 8) - (1 << 23)) / static_cast<float>(1 << 24);
    }
    // Noise on both channels (different), at most ±0.5.
    void fill(StereoBlock& block) {
        for (std::size_t i = 0; i < block.in1.size(); ++i) {
            block.in1[i] = next();
            block.in2[i] = next();
        }
    }

private:
    std::uint32_t state;
};

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Sets every parameter of `effect` to its value in the given factory-program column.
template <typename Column>
void setAll(ReverbEffect& effect, Column column) {
    for (const ParameterInfo& info : kParameterTable) effect.setParameter(info.index, column(info));
}
