// Stages 8 and 9: the state-variable tone filter over the wet signal, then
// the mix of wet and dry.
//
// Audio thread.
#pragma once

#include <cstdint>

#include "reverb/run_controls.h"
#include "reverb/state_variable_filter.h"

class ToneFilterMix {
public:
    // filtered[n] = filter(wet[n]) for n < pairs. A caller may instead step
    // the filter beside other filters (RecursionPass), from filterState and
    // giving back the state after the steps.
    void filter(const float* wetInput, float* filtered, std::int32_t pairs, const RunControls& controls);
    const StateVariableFilter& filterState() const { return toneFilter; }
    void setFilterState(const StateVariableFilter& state) { toneFilter = state; }
    // mixed[n] = wet · toMix[n] + dry · x[n] for n < pairs, toMix the filtered
    // signal (or the wet one while the filter is off). Tells whether a mixed
    // sample went beyond runawayLevel or is not finite.
    bool mix(const float* toMix, const float* x, float* mixed, std::int32_t pairs, const RunControls& controls,
             float runawayLevel);
    void clear() { toneFilter.reset(); }

private:
    StateVariableFilter toneFilter;
};
