#include "reverb/tone_filter_mix.h"

#include <cmath>

#include "reverb/vector_clones.h"

// The filter's recursion alone, pair by pair, its state in a local.
ROOMPLATE_VECTOR_CLONES void ToneFilterMix::filter(const float* wetInput, float* filtered, std::int32_t pairs,
                                                   const RunControls& c) {
    const float centre = c.centre, resonance = c.resonance, highMix = c.highMix, lowMix = c.lowMix;
    const float bandMix = c.bandMix;
    StateVariableFilter state = toneFilter;
    for (std::int32_t n = 0; n < pairs; ++n)
        filtered[n] = state.filter(wetInput[n], centre, resonance, highMix, lowMix, bandMix);
    toneFilter = state;
}

ROOMPLATE_VECTOR_CLONES bool ToneFilterMix::mix(const float* toMix, const float* x, float* mixed, std::int32_t pairs,
                                                const RunControls& c, float runawayLevel) {
    const float wet = c.wet, dry = c.dry;
    std::int32_t runaways = 0;  // a count, not a flag, so that the loop vectorizes
    for (std::int32_t n = 0; n < pairs; ++n) {
        mixed[n] = toMix[n] * wet + x[n] * dry;
        runaways += !(std::fabs(mixed[n]) <= runawayLevel) ? 1 : 0;  // NaN fails the comparison
    }
    return runaways != 0;
}
