// A delay line read at any number of taps, or run as a comb, a run of steps
// at a time. The active length can be set up to the capacity.
#pragma once

#include "reverb/delay_block.h"

class TapDelay final : public DelayBlock {
public:
    explicit TapDelay(std::int32_t capacity);

    // Limited to 1 … capacity. The cursor stays: if it now lies at or beyond the
    // new length, each advance subtracts the length once until it is back below.
    void setLength(std::int32_t length) { activeLength = length < 1 ? 1 : (length > capacity ? capacity : length); }
    std::int32_t getLength() const { return activeLength; }

    // All cells to 0; cursor and active length stay.
    void clear() { zeroCells(); }

    // Runs of `count` steps, count 0 … active length, in pieces that stop at
    // the end of the ring.
    //
    // Stores input[n] in the cursor cell of each of the next `count` steps,
    // without advancing. A line that has not been shortened under its cursor.
    void tickRun(const float* input, std::int32_t count);
    // The tap `distance` back of each of the next `count` steps, after
    // tickRun: calls visit(cells, firstStep, steps), in step order, where
    // cells[k] is the tap of step firstStep + k: what step firstStep + k − distance
    // stored, as long as no later step of the run writes a cell that an earlier one taps:
    // a distance of 0, of the active length, or at most active length − count.
    template <typename Visit>
    void forEachTapSpan(std::int32_t distance, std::int32_t count, Visit visit) const {
        const std::int32_t start = indexBack(distance, activeLength);
        const std::int32_t first = count < activeLength - start ? count : activeLength - start;
        visit(buffer.get() + start, 0, first);
        if (first < count) visit(buffer.get(), first, count - first);
    }
    // combStep (gain, input[n]) for n = 0 … count − 1, adding each step's
    // output to sum[n]. Any line, also one shortened under its cursor.
    void combRun(float gain, const float* input, float* sum, std::int32_t count);
    // Whether the next `count` steps stay below the active length, so that
    // they neither wrap nor start from a cursor beyond a shortened length.
    bool runsWithoutWrap(std::int32_t count) const { return cursor + count <= activeLength; }
    // Steps before the cursor reaches the end of the ring: 0 or less for a line
    // shortened under its cursor.
    std::int32_t stepsBeforeEnd() const { return activeLength - cursor; }
    // combRun of four lines over the same input, in one loop: each sum[n]
    // adds the four outputs in the order of the lines. Every line must run
    // `count` steps without wrap (runsWithoutWrap).
    // Inline, so that a call with a constant count (a whole run) compiles to a
    // loop of known length.
    static void combRunOfFour(TapDelay* const lines[4], const float gains[4], const float* input, float* sum,
                              std::int32_t count) {
        // Four lines share the loads and stores of each pair's input and sum,
        // which a loop per line would repeat four times.
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

private:
    // y = gain·oldest + input, stored over the oldest, then one step on:
    // a comb whose loop delay is the active length.
    float combStep(float gain, float input) {
        float& oldest = buffer[cursor];
        const float output = gain * oldest + input;
        oldest = output;
        ++cursor;
        if (cursor >= activeLength) cursor -= activeLength;  // once, also beyond a shortened length
        return output;
    }
};
