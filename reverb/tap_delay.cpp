#include "reverb/tap_delay.h"

#include <algorithm>

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
void TapDelay::combRun(float gain, const float* input, float* sum, std::int32_t count) {
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

// Four lines share the loads and stores of each pair's input and sum, which a
// loop per line would repeat four times.
void TapDelay::combRunOfFour(TapDelay* const lines[4], const float gains[4], const float* input, float* sum,
                             std::int32_t count) {
    float* cells0 = lines[0]->buffer.get() + lines[0]->cursor;
    float* cells1 = lines[1]->buffer.get() + lines[1]->cursor;
    float* cells2 = lines[2]->buffer.get() + lines[2]->cursor;
    float* cells3 = lines[3]->buffer.get() + lines[3]->cursor;
    const float gain0 = gains[0], gain1 = gains[1], gain2 = gains[2], gain3 = gains[3];
#pragma GCC ivdep  // the lines, the input and the sums are separate arrays
    for (std::int32_t n = 0; n < count; ++n) {
        const float x = input[n];
        const float y0 = gain0 * cells0[n] + x;  // combStep's step, line by line
        cells0[n] = y0;
        const float y1 = gain1 * cells1[n] + x;
        cells1[n] = y1;
        const float y2 = gain2 * cells2[n] + x;
        cells2[n] = y2;
        const float y3 = gain3 * cells3[n] + x;
        cells3[n] = y3;
        sum[n] = (((sum[n] + y0) + y1) + y2) + y3;
    }
    for (std::int32_t k = 0; k < 4; ++k) lines[k]->advanceBy(count);
}
