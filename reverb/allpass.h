// Schroeder allpass over a fixed ring of `length` cells; the delay is the
// distance handed in on each step.
#pragma once

#include "reverb/delay_block.h"

class Allpass final : public DelayBlock {
public:
    explicit Allpass(std::int32_t length);

    // All cells to 0; the cursor stays.
    void clear() { zeroCells(); }

    // One step on cells of a run (DelayBlock::runCells): `delayed` is read
    // before `cursorCell` is written; the run ends with endRun.
    static float step(float input, float delayed, float& cursorCell, float gain) {
        const float output = delayed - gain * input;
        cursorCell = input + gain * output;
        return output;
    }
    void endRun(std::int32_t steps) { advanceBy(steps); }
};
