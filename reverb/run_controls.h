// The gains, coefficients and switches of one run of pairs, read from the
// live values once at the run's start: a change made during a block takes
// effect at the next run.
#pragma once

#include <cstdint>

struct RunControls {
    static constexpr std::int32_t kLongestRun = 32;  // pairs a run may have at most

    float combCount;  // quality
    float absorption;
    float bandwidth;
    float diffusionGain12, diffusionGain34;
    float tankGainAB, tankGainCD;  // 0.8 × their parameters
    float damping1, damping2;
    float decay1, decay2;
    float feed1Into2, feed2Into1;
    float dry, wet;
    float centre, resonance, highMix, lowMix, bandMix;
    float colour, diffuserFeedback;
    bool tankOn, filterOn, reflectionsOn, combsOn;
};
