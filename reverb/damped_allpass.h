// An allpass whose delayed sample passes a two-pole lowpass and whose stored
// value takes extra feedback from the oldest cell, held within ±0.99 so the
// diffuser cannot run away. The returned value is not limited.
#pragma once

#include "reverb/delay_block.h"
#include "reverb/two_pole_lowpass.h"

class DampedAllpass final : public DelayBlock {
public:
    static constexpr float kStoreLimit = 0.99f;

    explicit DampedAllpass(std::int32_t length);

    // All cells and the last output to 0; the inner lowpass keeps its state.
    void clear() override;

    // distance 0 … length, as for Allpass.
    virtual float allpass(float input, std::int32_t distance, float gain, float damping, float feedback) {
        const float delayed = lowpass.filter(buffer[indexBack(distance, capacity)], damping);
        const float output = delayed - gain * input;
        lastOutput = output;
        float& oldest = buffer[cursor];
        float stored = (input + gain * output) + feedback * oldest * gain;
        if (stored < -kStoreLimit)
            stored = -kStoreLimit;
        else if (stored > kStoreLimit)
            stored = kStoreLimit;
        oldest = stored;
        advanceCursor(capacity);
        return output;
    }

    // Only for recovering from a non-finite state; clear leaves the lowpass alone.
    void resetLowpass() { lowpass.reset(); }
    const TwoPoleLowpass& getLowpass() const { return lowpass; }

private:
    TwoPoleLowpass lowpass;
};
