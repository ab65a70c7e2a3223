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
        const float output = step(input, buffer[indexBack(distance, capacity)], buffer[cursor], gain);
        lastOutput = output;
        advanceCursor(capacity);
        return output;
    }

    // One step on cells the caller found: `delayed` read before `cursorCell`
    // is written. allpass does this on its own cells; a run (DelayBlock) does
    // it on runCells, then calls endRun.
    static float step(float input, float delayed, float& cursorCell, float gain) {
        const float output = delayed - gain * input;
        cursorCell = input + gain * output;
        return output;
    }
    void endRun(std::int32_t steps, float lastStepOutput) {
        advanceBy(steps);
        lastOutput = lastStepOutput;
    }
};
