// Schroeder allpass over a fixed ring of `length` cells; the delay is the
// distance handed in on each step.
#pragma once

#include "reverb/delay_block.h"

class Allpass final : public DelayBlock {
public:
    explicit Allpass(std::int32_t length);

    // All cells and the last output to 0; the cursor stays.
    void clear() override;

    // distance 0 … length: 0 and length both read the oldest sample (a full-length delay).
    virtual float allpass(float input, std::int32_t distance, float gain) {
        const float delayed = buffer[indexBack(distance, capacity)];
        const float output = delayed - gain * input;
        lastOutput = output;
        buffer[cursor] = input + gain * output;
        advanceCursor(capacity);
        return output;
    }
};
