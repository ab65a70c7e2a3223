// Stage 10: the stereo image. The mixed signal goes into one output line;
// each channel is the mean of six taps off it, limited to ±0.99 and written
// to both frames of the pair.
//
// Audio thread.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "reverb/engine_sizes.h"
#include "reverb/output_mode.h"
#include "reverb/run_controls.h"
#include "reverb/tap_delay.h"

class OutputTaps {
public:
    static constexpr std::int32_t kTapCount = 6;  // a channel
    static constexpr float kOutputLimit = 0.99f;
    using TapTimes = std::array<float, kTapCount>;  // 0 … 1 of the line's length

    struct StereoValue {
        float left;
        float right;
    };

    explicit OutputTaps(const EngineSizes& sizes) : line(sizes.outputLength) {
        runsByTapsUpTo = longestRunReadingBeforeOverwrite();
    }

    // Once per block.
    void updateTimes(const TapTimes& left, const TapTimes& right);
    // For n < pairs (at most RunControls::kLongestRun): mixed[n] into the
    // line, then the taps into frames 2n and 2n + 1 of both outputs. Each pair
    // stores its sample before it reads its taps (a tap of 0 reads that sample).
    template <OutputMode mode>
    void run(const float* mixed, float* output1, float* output2, std::int32_t pairs);
    // The last pair's value, once more (for an odd frame at the end of a block).
    StereoValue lastValue() const { return last; }
    void clear() {
        line.clear();
        last = {0.0f, 0.0f};
    }

    std::int32_t leftTap(std::int32_t tap) const { return leftTaps[tap]; }  // samples
    std::int32_t rightTap(std::int32_t tap) const { return rightTaps[tap]; }

private:
    // Within ±kOutputLimit, NaN → 0. Selections, so that a loop of them vectorizes.
    static float limited(float value) {
        value = value < -kOutputLimit ? -kOutputLimit : value;
        value = value > kOutputLimit ? kOutputLimit : value;
        return value == value ? value : 0.0f;
    }
    // Whether every tap reads a cell that no later pair of a run of `pairs`
    // overwrites, once the run's samples are in the line (see runByTaps).
    bool tapsReadBeforeOverwrite(std::int32_t pairs) const { return pairs <= runsByTapsUpTo; }
    std::int32_t longestRunReadingBeforeOverwrite() const;
    // The whole run into the line first, then each channel's sum a tap at a time.
    template <OutputMode mode>
    void runByTaps(const float* mixed, float* output1, float* output2, std::int32_t pairs);
    // Pair by pair, cut where the cursor or a tap would wrap: for any taps.
    template <OutputMode mode>
    void runPairByPair(const float* mixed, float* output1, float* output2, std::int32_t pairs);
    // mean[n] = the taps of pair n added in tap order, divided by their
    // count and limited, for n < pairs.
    void tapMeans(const std::array<std::int32_t, kTapCount>& tapDistances, float* mean, std::int32_t pairs) const;
    // values[n] into frames 2n and 2n + 1 of output, for n < pairs.
    static void writePairs(OutputMode mode, const float* values, float* output, std::int32_t pairs);

    TapDelay line;
    std::array<std::int32_t, kTapCount> leftTaps{};
    std::array<std::int32_t, kTapCount> rightTaps{};
    std::int32_t runsByTapsUpTo = 0;  // tapsReadBeforeOverwrite's limit, set with the taps
    StereoValue last{0.0f, 0.0f};
};

template <OutputMode mode>
void OutputTaps::run(const float* mixed, float* output1, float* output2, std::int32_t pairs) {
    if (pairs <= 0) return;
    if (tapsReadBeforeOverwrite(pairs))
        runByTaps<mode>(mixed, output1, output2, pairs);
    else
        runPairByPair<mode>(mixed, output1, output2, pairs);
}

// Each channel's frames in a loop of their own: where a host hands in one
// buffer for both outputs, the right channel's frames are written last, as
// pair by pair.
template <OutputMode mode>
void OutputTaps::runByTaps(const float* mixed, float* output1, float* output2, std::int32_t pairs) {
    float left[RunControls::kLongestRun], right[RunControls::kLongestRun];
    line.tickRun(mixed, pairs);
    tapMeans(leftTaps, left, pairs);
    if (rightTaps == leftTaps)  // a mono image: the same means
        std::copy(left, left + pairs, right);
    else
        tapMeans(rightTaps, right, pairs);
    line.advanceBy(pairs);
    writePairs(mode, left, output1, pairs);
    writePairs(mode, right, output2, pairs);
    last = {left[pairs - 1], right[pairs - 1]};
}

template <OutputMode mode>
void OutputTaps::runPairByPair(const float* mixed, float* output1, float* output2, std::int32_t pairs) {
    StereoValue value = last;
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        const float* tapLeft[kTapCount];
        const float* tapRight[kTapCount];
        for (std::int32_t i = 0; i < kTapCount; ++i) {
            steps = std::min(steps, line.stepsBeforeWrap(leftTaps[i]));
            steps = std::min(steps, line.stepsBeforeWrap(rightTaps[i]));
            tapLeft[i] = line.runCells(leftTaps[i]).delayed;
            tapRight[i] = line.runCells(rightTaps[i]).delayed;
        }
        float* const written = line.runCells(0).current;
        for (std::int32_t n = 0; n < steps; ++n) {
            const std::int32_t pair = done + n;
            written[n] = mixed[pair];
            float left = 0.0f;
            float right = 0.0f;
            for (std::int32_t i = 0; i < kTapCount; ++i) {
                left += tapLeft[i][n];
                right += tapRight[i][n];
            }
            value = {limited(left / static_cast<float>(kTapCount)), limited(right / static_cast<float>(kTapCount))};
            writeFrame<mode>(output1[2 * pair], value.left);
            writeFrame<mode>(output2[2 * pair], value.right);
            writeFrame<mode>(output1[2 * pair + 1], value.left);
            writeFrame<mode>(output2[2 * pair + 1], value.right);
        }
        line.advanceBy(steps);
        done += steps;
    }
    last = value;
}
