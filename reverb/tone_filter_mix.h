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
    // mixed[n] = wet · filter(wet[n]) + dry · x[n] for n < pairs (the filter
    // left out while it is switched off). Tells whether a mixed sample went
    // beyond runawayLevel or is not finite.
    bool run(const float* wetInput, const float* x, float* mixed, std::int32_t pairs, const RunControls& controls,
             float runawayLevel);
    // The same in two parts, for a caller that may step the filter beside
    // other filters (RecursionPass): filtered[n] = filter(wet[n]), or the
    // state to start from and the state after such steps; then the mix of
    // the filtered (or, while the filter is off, the wet) signal.
    void filter(const float* wetInput, float* filtered, std::int32_t pairs, const RunControls& controls);
    const StateVariableFilter& filterState() const { return toneFilter; }
    void setFilterState(const StateVariableFilter& state) { toneFilter = state; }
    bool mix(const float* toMix, const float* x, float* mixed, std::int32_t pairs, const RunControls& controls,
             float runawayLevel);
    void clear() { toneFilter.reset(); }

private:
    StateVariableFilter toneFilter;
};
