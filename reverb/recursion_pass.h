// The recursive filters that can run ahead of the rest of their stages, in
// one loop, so that their chains of dependent operations overlap instead of
// following each other: the tone filter over the previous run's wet signal,
// beside this run's bandwidth lowpass, the diffusers' four inner lowpasses
// and the tank's two damping lowpasses. The tone filter waits for a whole run
// of the stages before it, so it goes one run behind the lowpasses.
//
// Each filter takes exactly its own steps in its own order: the results are
// those of running the filters one after the other.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/state_variable_filter.h"
#include "reverb/two_pole_lowpass.h"

class RecursionPass {
public:
    static constexpr std::int32_t kInnerCount = 4;

    // The tone filter's steps: filtered[n] from wet[n], for n < steps.
    struct ToneSteps {
        StateVariableFilter filter;
        const float* wet;
        float* filtered;
        std::int32_t steps;
        float centre, resonance, highMix, lowMix, bandMix;
    };
    // This run's lowpass steps, for n < steps: band[n] from early[n];
    // innerOutput[j][n] from innerInput[j][n]; with the tank on,
    // dampingOutput[i][n] from dampingInput[i][n].
    struct LowpassSteps {
        TwoPoleLowpass bandwidth;
        const float* early;
        float* band;
        float bandwidthCoefficient;
        std::array<TwoPoleLowpass, kInnerCount> inner;
        const float* innerInput[kInnerCount];
        float* innerOutput[kInnerCount];
        float colour;
        bool tankOn;
        std::array<TwoPoleLowpass, 2> damping;
        const float* dampingInput[2];
        float* dampingOutput[2];
        float dampingCoefficient[2];
        std::int32_t steps;
    };

    // Takes the steps of both, leaving the filters' states after their steps in them.
    static void run(ToneSteps& tone, LowpassSteps& lowpasses);
};
