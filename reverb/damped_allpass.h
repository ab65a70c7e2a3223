// An allpass whose delayed sample passes a two-pole lowpass and whose stored
// value takes extra feedback from the oldest cell, held within ±0.99 so the
// diffuser cannot run away. The returned value is not limited.
#pragma once

#include <cstdint>

#include "reverb/delay_block.h"
#include "reverb/two_pole_lowpass.h"

class DampedAllpass final : public DelayBlock {
public:
    static constexpr float kStoreLimit = 0.99f;

    explicit DampedAllpass(std::int32_t length);

    // All cells to 0; the inner lowpass keeps its state.
    void clear() { zeroCells(); }

    // One step on cells the caller found, with the inner lowpass handed in
    // (a run keeps it in a local copy and gives it back to endRun).
    static float step(float input, float delayed, float& cursorCell, float gain, float damping, float feedback,
                      TwoPoleLowpass& innerLowpass) {
        return stepAfterLowpass(input, innerLowpass.filter(delayed, damping), cursorCell, gain, feedback);
    }
    // The rest of a step once the inner lowpass has filtered the delayed
    // sample: no state but the cell, so a run of these vectorizes.
    static float stepAfterLowpass(float input, float lowpassed, float& cursorCell, float gain, float feedback) {
        const float output = lowpassed - gain * input;
        float stored = (input + gain * output) + feedback * cursorCell * gain;  // cursorCell: the oldest sample
        // Below −0.99 → −0.99, otherwise above 0.99 → 0.99; NaN passes. Written
        // as selections, which compile to maxss and minss instead of branches.
        stored = stored < -kStoreLimit ? -kStoreLimit : stored;
        stored = stored > kStoreLimit ? kStoreLimit : stored;
        cursorCell = stored;
        return output;
    }
    // stepAfterLowpass for n < steps: output[n] from input[n] and lowpassed[n],
    // on cells[n]. Four steps at a time in SSE lanes where the build has SSE
    // (the same operations per step); output may be input, no other arrays overlap.
    static void runAfterLowpass(const float* input, const float* lowpassed, float* cells, float* output,
                                std::int32_t steps, float gain, float feedback);
    void endRun(std::int32_t steps, const TwoPoleLowpass& lowpassAfter) {
        advanceBy(steps);
        lowpass = lowpassAfter;
    }

    // Only for recovering from a non-finite state; clear leaves the lowpass alone.
    void resetLowpass() { lowpass.reset(); }
    const TwoPoleLowpass& getLowpass() const { return lowpass; }

private:
    TwoPoleLowpass lowpass;
};
