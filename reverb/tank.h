// Stages 5 and 6: the plate's tank. Two branches, each allpass → delay →
// damping → decay → allpass → delay, the end of each feeding the other's
// start; its output is the sum of six points inside the branches.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/allpass.h"
#include "reverb/engine_sizes.h"
#include "reverb/run_controls.h"
#include "reverb/tap_delay.h"
#include "reverb/two_pole_lowpass.h"

class Tank {
public:
    enum TankAllpass : std::int32_t { kAllpassA, kAllpassB, kAllpassC, kAllpassD, kAllpassCount };
    static constexpr std::int32_t kDelayCount = 4;
    using AllpassTimes = std::array<float, kAllpassCount>;  // A, B, C, D: 0 … 1 of the allpass length
    using DelayTimes = std::array<float, kDelayCount>;      // delays 1 to 4: 0 … 1 of the delay length

    explicit Tank(const EngineSizes& sizes);

    // Once per block.
    void updateTimes(const AllpassTimes& allpassTimes, const DelayTimes& delayTimes);
    // tankOutput[n] for n < pairs, from diffused[n].
    void run(const float* diffused, float* tankOutput, std::int32_t pairs, const RunControls& controls);
    // The same in two parts, for a caller that steps the damping lowpasses
    // itself (RecursionPass), ahead of the rest and beside other filters.
    // Whether a run of `pairs` may: no line reads a cell the run writes.
    bool dampingRunsAhead(std::int32_t pairs) const { return readsBeforeWrites(pairs); }
    // The damping lowpasses' inputs for the next `pairs` steps (each the
    // cells themselves or a copy in scratch[i]), and the states the filters start the run from.
    void dampingInputs(std::int32_t pairs, const float* inputs[2], float* const scratch[2]) const;
    std::array<TwoPoleLowpass, 2> dampingLowpasses() const { return {damping1Filter, damping2Filter}; }
    // Then the rest of the run, from the lowpasses' damped1[n] and damped2[n],
    // given the filters' states after the run.
    void runAfterDamping(const float* diffused, const float* damped1, const float* damped2, float* tankOutput,
                         std::int32_t pairs, const RunControls& controls,
                         const std::array<TwoPoleLowpass, 2>& dampingAfter);
    // While the tank is switched off its delays still advance.
    void skip(std::int32_t pairs);
    void clear();
    // Whether the feedback between the branches went beyond `level` or is not finite.
    bool feedbackBeyond(float level) const;

    std::int32_t allpassDistance(TankAllpass allpass) const { return allpassDistances[allpass]; }  // samples
    std::int32_t delayTap(std::int32_t delay) const { return delayTaps[delay]; }                   // samples

private:
    // What carries from one pair to the next, in locals while a run renders.
    struct RunState {
        TwoPoleLowpass damping1, damping2;
        float fromBranch1, fromBranch2;
    };
    // One piece of `steps` pairs in which no line wraps.
    void runPairByPair(const float* diffused, float* tankOutput, std::int32_t steps, const RunControls& controls,
                       RunState& state);
    // Whether, in a piece of `steps`, every allpass and delay reads only cells
    // the piece does not write (or an allpass its own cursor cell).
    bool readsBeforeWrites(std::int32_t steps) const { return steps <= piecesReadAheadUpTo; }
    std::int32_t longestPieceReadingAhead() const;
    // As runPairByPair, for pieces that readsBeforeWrites: the two damping
    // lowpasses first, then the rest of both branches through the whole piece.
    void runByStages(const float* diffused, float* tankOutput, std::int32_t steps, const RunControls& controls,
                     RunState& state);
    // The branches of a piece in which no line wraps, after the damping lowpasses.
    void branchesAfterDamping(const float* diffused, const float* lowpassed1, const float* lowpassed2,
                              float* tankOutput, std::int32_t steps, const RunControls& controls, RunState& state);
    // Steps before any line's cells would wrap, at most `pairs`.
    std::int32_t stepsBeforeWrap(std::int32_t pairs) const;
    void advanceLines(std::int32_t steps);

    const std::int32_t allpassLength;
    const std::int32_t delayLength;
    std::array<Allpass, kAllpassCount> allpasses;
    std::array<TapDelay, kDelayCount> delays;
    TwoPoleLowpass damping1Filter, damping2Filter;
    float feedback1 = 0.0f;  // end of branch 1 into branch 2
    float feedback2 = 0.0f;  // end of branch 2 into branch 1
    std::array<std::int32_t, kAllpassCount> allpassDistances{};
    std::array<std::int32_t, kDelayCount> delayTaps{};
    std::int32_t piecesReadAheadUpTo = 0;  // readsBeforeWrites's limit: taps of 0 read their own sample
};
