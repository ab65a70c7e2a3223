#include "reverb/tone_filter_mix.h"
#include "reverb/vector_clones.h"

#include <cmath>

ROOMPLATE_VECTOR_CLONES bool ToneFilterMix::run(const float* wetInput, const float* x, float* mixed, std::int32_t pairs,
                                                const RunControls& c, float runawayLevel) {
    const float centre = c.centre, resonance = c.resonance, highMix = c.highMix, lowMix = c.lowMix;
    const float bandMix = c.bandMix, wet = c.wet, dry = c.dry;
    float filtered[RunControls::kLongestRun];
    const float* toMix = wetInput;
    if (c.filterOn) {  // the filter's recursion alone, pair by pair
        StateVariableFilter state = filter;
        for (std::int32_t n = 0; n < pairs; ++n)
            filtered[n] = state.filter(wetInput[n], centre, resonance, highMix, lowMix, bandMix);
        filter = state;
        toMix = filtered;
    }
    std::int32_t runaways = 0;  // a count, not a flag, so that the loop vectorizes
    for (std::int32_t n = 0; n < pairs; ++n) {
        mixed[n] = toMix[n] * wet + x[n] * dry;
        runaways += !(std::fabs(mixed[n]) <= runawayLevel) ? 1 : 0;  // NaN fails the comparison
    }
    return runaways != 0;
}
