// Buffers, a deterministic test signal and a run helper for the engine tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include <array>

#include "vst2/reverb_effect.h"

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
    for (const ParameterInfo& info : kParameterTable) effect.setParameter(info.id, column(info));
}

// What the engine's stages derived from the live values at the last block,
// gathered in one record for comparisons.
struct BlockValues {
    std::array<std::int32_t, EarlyReflections::kReflectionCount> reflectionTap{};  // samples
    std::array<float, EarlyReflections::kReflectionCount> reflectionGain{};
    std::int32_t activeCombs = 0;
    float combDecayTime = 0.0f;  // ms
    std::array<float, CombBank::kMaxCombs> combGain{};
    std::array<std::int32_t, 4> diffuserDistance{};
    std::array<std::int32_t, 4> tankAllpassDistance{};  // A, B, C, D
    std::array<std::int32_t, 4> tankDelayTap{};
    std::array<std::int32_t, OutputTaps::kTapCount> outputTapLeft{};
    std::array<std::int32_t, OutputTaps::kTapCount> outputTapRight{};
};

inline BlockValues blockValuesOf(const ReverbEffect& effect) {
    const ReverbEngine& engine = effect.getEngine();
    BlockValues v;
    for (std::int32_t k = 0; k < EarlyReflections::kReflectionCount; ++k) {
        v.reflectionTap[k] = engine.earlyReflections().tap(k);
        v.reflectionGain[k] = engine.earlyReflections().gain(k);
    }
    v.activeCombs = engine.combBank().activeCombs();
    v.combDecayTime = engine.combBank().decayTimeMs();
    for (std::int32_t i = 0; i < CombBank::kMaxCombs; ++i) v.combGain[i] = engine.combBank().gain(i);
    for (std::int32_t j = 0; j < 4; ++j) {
        v.diffuserDistance[j] = engine.inputDiffusion().distance(j);
        v.tankAllpassDistance[j] = engine.tank().allpassDistance(static_cast<Tank::TankAllpass>(j));
        v.tankDelayTap[j] = engine.tank().delayTap(j);
    }
    for (std::int32_t i = 0; i < OutputTaps::kTapCount; ++i) {
        v.outputTapLeft[i] = engine.outputTaps().leftTap(i);
        v.outputTapRight[i] = engine.outputTaps().rightTap(i);
    }
    return v;
}

// Active length of comb line 0 … 19; 0 for any other number.
inline std::int32_t combLengthOf(const ReverbEffect& effect, std::int32_t line) {
    return line >= 0 && line < CombBank::kMaxCombs ? effect.getEngine().combBank().length(line) : 0;
}
