#include "reverb/tap_delay.h"

#include <algorithm>

#include "reverb/vector_clones.h"

// The cells start at 0 (make_unique value-initialises), so a line reads silence
// even before its owner's first clear.
TapDelay::TapDelay(std::int32_t cells) : DelayBlock(cells) {}

void TapDelay::tickRun(const float* input, std::int32_t count) {
    const std::int32_t first = count < activeLength - cursor ? count : activeLength - cursor;
    std::copy(input, input + first, buffer.get() + cursor);
    std::copy(input + first, input + count, buffer.get());
}

// The comb steps of one line are independent of each other within a stretch
// of cells that does not wrap (the loop delay, the active length, is longer
// than any run), so that stretch is one loop over arrays, which the compiler
// vectorizes. A line shortened under its cursor goes one step at a time until
// the cursor is back below the length, as single advances do.
ROOMPLATE_VECTOR_CLONES void TapDelay::combRun(float gain, const float* input, float* sum, std::int32_t count) {
    std::int32_t done = 0;
    while (done < count) {
        if (cursor >= activeLength) {
            sum[done] += combStep(gain, input[done]);
            ++done;
            continue;
        }
        const std::int32_t left = count - done;
        const std::int32_t steps = left < activeLength - cursor ? left : activeLength - cursor;
        float* cells = buffer.get() + cursor;
        const float* in = input + done;
        float* out = sum + done;
#pragma GCC ivdep  // the line, the input and the sums are separate arrays
        for (std::int32_t n = 0; n < steps; ++n) {
            const float output = gain * cells[n] + in[n];  // combStep's step
            cells[n] = output;
            out[n] += output;
        }
        advanceBy(steps);
        done += steps;
    }
}
