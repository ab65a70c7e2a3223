#include "reverb/recursion_pass.h"

#include <algorithm>

#include "reverb/lowpass_lanes.h"

namespace {

// Steps first … last − 1 of the filters the flags name, their states and
// arrays in locals for the loop.
template <bool withTone, bool withLowpasses, bool withTank>
void stepRange(RecursionPass::ToneSteps* tone, RecursionPass::LowpassSteps& lowpasses, std::int32_t first,
               std::int32_t last) {
    if (first >= last) return;
    StateVariableFilter toneFilter;
    const float* wet = nullptr;
    float* filtered = nullptr;
    float centre = 0.0f, resonance = 0.0f, highMix = 0.0f, lowMix = 0.0f, bandMix = 0.0f;
    if constexpr (withTone) {
        toneFilter = tone->filter;
        wet = tone->wet;
        filtered = tone->filtered;
        centre = tone->centre;
        resonance = tone->resonance;
        highMix = tone->highMix;
        lowMix = tone->lowMix;
        bandMix = tone->bandMix;
    }
    TwoPoleLowpass bandwidth = lowpasses.bandwidth, damping1 = lowpasses.damping[0], damping2 = lowpasses.damping[1];
    const float* const early = lowpasses.early;
    float* const band = lowpasses.band;
    const float bandwidthCoefficient = lowpasses.bandwidthCoefficient, colour = lowpasses.colour;
    const float* const damping1Input = lowpasses.dampingInput[0];
    const float* const damping2Input = lowpasses.dampingInput[1];
    float* const damping1Output = lowpasses.dampingOutput[0];
    float* const damping2Output = lowpasses.dampingOutput[1];
    const float damping1Coefficient = lowpasses.dampingCoefficient[0];
    const float damping2Coefficient = lowpasses.dampingCoefficient[1];

    const auto scalarSteps = [&](std::int32_t n) __attribute__((always_inline)) {
        if constexpr (withTone) filtered[n] = toneFilter.filter(wet[n], centre, resonance, highMix, lowMix, bandMix);
        if constexpr (withLowpasses) band[n] = bandwidth.filter(early[n], bandwidthCoefficient);
        if constexpr (withTank) {
            damping1Output[n] = damping1.filter(damping1Input[n], damping1Coefficient);
            damping2Output[n] = damping2.filter(damping2Input[n], damping2Coefficient);
        }
    };
    std::int32_t n = first;
    if constexpr (withLowpasses) {
        LowpassLanes inner(lowpasses.inner);
        for (; n + LowpassLanes::kLanes <= last; n += LowpassLanes::kLanes) {
            inner.filterFourSteps(lowpasses.innerInput, lowpasses.innerOutput, n, colour);
            for (std::int32_t k = n; k < n + LowpassLanes::kLanes; ++k) scalarSteps(k);
        }
        for (; n < last; ++n) {
            inner.filterOneStep(lowpasses.innerInput, lowpasses.innerOutput, n, colour);
            scalarSteps(n);
        }
        lowpasses.inner = inner.filters();
        lowpasses.bandwidth = bandwidth;
        if constexpr (withTank) lowpasses.damping = {damping1, damping2};
    } else {
        for (; n < last; ++n) scalarSteps(n);
    }
    if constexpr (withTone) tone->filter = toneFilter;
}

}  // namespace

// Both together as far as both go, then the longer one alone.
void RecursionPass::run(ToneSteps& tone, LowpassSteps& lowpasses) {
    const std::int32_t together = std::min(tone.steps, lowpasses.steps);
    if (lowpasses.tankOn) {
        stepRange<true, true, true>(&tone, lowpasses, 0, together);
        stepRange<false, true, true>(&tone, lowpasses, together, lowpasses.steps);
    } else {
        stepRange<true, true, false>(&tone, lowpasses, 0, together);
        stepRange<false, true, false>(&tone, lowpasses, together, lowpasses.steps);
    }
    stepRange<true, false, false>(&tone, lowpasses, together, tone.steps);
}
