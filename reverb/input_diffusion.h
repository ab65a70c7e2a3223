// Stages 3 and 4: the bandwidth lowpass, then four damped allpasses in series
// that smear the input before it enters the tank.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

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
    bool readsBeforeWrites(std::int32_t steps) const;
    // As runPairByPair, for pieces that readsBeforeWrites: the lowpasses first,
    // then each diffuser through the whole piece.
    void runByStages(const float* early, float* diffused, std::int32_t steps, const RunControls& controls,
                     RunState& state);

    const std::int32_t diffuserLength;
    std::array<DampedAllpass, kDiffuserCount> diffusers;
    TwoPoleLowpass bandwidthFilter;
    std::array<std::int32_t, kDiffuserCount> distances{};
};
