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

    explicit OutputTaps(const EngineSizes& sizes) : line(sizes.outputLength) {}

    // Once per block.
    void updateTimes(const TapTimes& left, const TapTimes& right);
    // For n < pairs: mixed[n] into the line, then the taps into frames 2n and
    // 2n + 1 of both outputs. Each pair stores its sample before it reads its
    // taps (a tap of 0 reads that sample); the run is cut where the cursor or
    // a tap would wrap.
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
    static float limited(float value) {
        if (value < -kOutputLimit) return -kOutputLimit;
        if (value > kOutputLimit) return kOutputLimit;
        if (std::isnan(value)) return 0.0f;
        return value;
    }

    TapDelay line;
    std::array<std::int32_t, kTapCount> leftTaps{};
    std::array<std::int32_t, kTapCount> rightTaps{};
    StereoValue last{0.0f, 0.0f};
};

template <OutputMode mode>
void OutputTaps::run(const float* mixed, float* output1, float* output2, std::int32_t pairs) {
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
