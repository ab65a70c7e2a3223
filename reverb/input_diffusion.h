// Stages 3 and 4: the bandwidth lowpass, then four damped allpasses in series
// that smear the input before it enters the tank.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "reverb/damped_allpass.h"
#include "reverb/engine_sizes.h"
#include "reverb/run_controls.h"
#include "reverb/two_pole_lowpass.h"

class InputDiffusion {
public:
    static constexpr std::int32_t kDiffuserCount = 4;
    using Times = std::array<float, kDiffuserCount>;  // diffuser time parameters, 0 … 1 of a diffuser's length

    explicit InputDiffusion(const EngineSizes& sizes);

    // Once per block.
    void updateTimes(const Times& times);
    // diffused[n] for n < pairs, from early[n].
    void run(const float* early, float* diffused, std::int32_t pairs, const RunControls& controls);
    // The same in two parts, for a caller that steps the lowpasses itself
    // (RecursionPass), ahead of the allpasses and beside other filters.
    // Whether a run of `pairs` may: no diffuser reads a cell the run writes.
    bool lowpassesRunAhead(std::int32_t pairs) const { return readsBeforeWrites(pairs); }
    // The inner lowpasses' inputs for the next `pairs` steps (each the cells
    // themselves or a copy in scratch[j]), and the states the filters start the run from.
    void innerLowpassInputs(std::int32_t pairs, const float* inputs[kDiffuserCount],
                            float* const scratch[kDiffuserCount]) const;
    const TwoPoleLowpass& bandwidthLowpass() const { return bandwidthFilter; }
    std::array<TwoPoleLowpass, kDiffuserCount> innerLowpasses() const;
    // Then the rest of the run: diffused[n] from the bandwidth lowpass's
    // band[n] and the inner lowpasses' lowpassed[j][n], given the filters'
    // states after the run.
    void runAfterLowpasses(const float* band, const float* const lowpassed[kDiffuserCount], float* diffused,
                           std::int32_t pairs, const RunControls& controls, const TwoPoleLowpass& bandwidthAfter,
                           const std::array<TwoPoleLowpass, kDiffuserCount>& innerAfter);
    // Cells and the bandwidth filter to 0; the diffusers' inner lowpasses keep their state.
    void clear();
    // After a runaway: the inner lowpasses too.
    void clearAll();

    std::int32_t distance(std::int32_t diffuser) const { return distances[diffuser]; }  // samples

private:
    // The filter states of a run, in locals while it renders.
    struct RunState {
        TwoPoleLowpass bandwidth;
        std::array<TwoPoleLowpass, kDiffuserCount> inner;
    };
    // One piece of `steps` pairs in which no diffuser's cells wrap.
    void runPairByPair(const float* early, float* diffused, std::int32_t steps, const RunControls& controls,
                       RunState& state);
    // Whether, in a piece of `steps`, no diffuser reads a cell the piece writes
    // (other than its own cursor cell, read before it is written).
    bool readsBeforeWrites(std::int32_t steps) const { return steps <= piecesReadAheadUpTo; }
    std::int32_t longestPieceReadingAhead() const;
    // As runPairByPair, for pieces that readsBeforeWrites: the lowpasses first,
    // then each diffuser through the whole piece.
    void runByStages(const float* early, float* diffused, std::int32_t steps, const RunControls& controls,
                     RunState& state);
    // The allpasses of a piece in which no diffuser's cells wrap, after the lowpasses.
    void allpassesAfterLowpasses(const float* band, const float* const lowpassed[kDiffuserCount], float* diffused,
                                 std::int32_t steps, const RunControls& controls);
    // Steps before any diffuser's cells would wrap, at most `pairs`.
    std::int32_t stepsBeforeWrap(std::int32_t pairs) const;

    const std::int32_t diffuserLength;
    std::array<DampedAllpass, kDiffuserCount> diffusers;
    TwoPoleLowpass bandwidthFilter;
    std::array<std::int32_t, kDiffuserCount> distances{};
    std::int32_t piecesReadAheadUpTo = std::numeric_limits<std::int32_t>::max();  // readsBeforeWrites's limit
};
