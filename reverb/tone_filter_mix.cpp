#include "reverb/tone_filter_mix.h"

#include <cmath>

bool ToneFilterMix::run(const float* wetInput, const float* x, float* mixed, std::int32_t pairs, const RunControls& c,
                        float runawayLevel) {
    const float centre = c.centre, resonance = c.resonance, highMix = c.highMix, lowMix = c.lowMix;
    const float bandMix = c.bandMix, wet = c.wet, dry = c.dry;
    StateVariableFilter state = filter;
    bool runaway = false;
    for (std::int32_t n = 0; n < pairs; ++n) {
        const float filtered =
            c.filterOn ? state.filter(wetInput[n], centre, resonance, highMix, lowMix, bandMix) : wetInput[n];
        mixed[n] = filtered * wet + x[n] * dry;
        runaway |= !(std::fabs(mixed[n]) <= runawayLevel);  // NaN fails the comparison
    }
    filter = state;
    return runaway;
}
