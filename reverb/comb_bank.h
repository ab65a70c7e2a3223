// Stage 7: the softener, up to 20 parallel comb lines spread geometrically
// over one octave from 100 ms down, all falling by 60 dB in the decay time
// that the absorption (the 100 ms line's gain) fixes.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/engine_sizes.h"
#include "reverb/run_controls.h"
#include "reverb/tap_delay.h"

class CombBank {
public:
    static constexpr std::int32_t kMaxCombs = 20;
    static constexpr std::int32_t kLongestRun = RunControls::kLongestRun;

    explicit CombBank(const EngineSizes& sizes);

    // Once per block: lengths and gains for these values (skipped while they keep their bits).
    void update(float quality, float absorption);
    // Whether the bank changes the signal in a run with these controls: on,
    // with lines and a gain above 0. Otherwise the signal passes it untouched.
    bool runs(const RunControls& controls) const;
    // output[n] = the mean of the lines' outputs for n < pairs (at most kLongestRun); needs runs().
    void run(const float* input, float* output, std::int32_t pairs);
    void clear();

    std::int32_t activeCombs() const { return lineCount; }
    float decayTimeMs() const { return decayTime; }  // in which a line falls by 60 dB
    float gain(std::int32_t line) const { return gains[line]; }
    std::int32_t length(std::int32_t line) const { return lines[line].getLength(); }  // samples

private:
    const float halfRate;
    std::array<TapDelay, kMaxCombs> lines;
    std::array<float, kMaxCombs> gains{};
    std::int32_t lineCount = 0;
    float decayTime = 0.0f;
    std::array<std::uint32_t, 2> derivedFrom{};  // bits of quality and absorption
    bool derived = false;
};
