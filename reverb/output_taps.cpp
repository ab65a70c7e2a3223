#include "reverb/output_taps.h"

#include <algorithm>

#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

void OutputTaps::updateTimes(const TapTimes& left, const TapTimes& right) {
    const std::array<std::int32_t, kTapCount> leftBefore = leftTaps, rightBefore = rightTaps;
    const std::int32_t length = line.getLength();
    for (std::int32_t i = 0; i < kTapCount; ++i) {
        leftTaps[i] = scaledDistance(length, left[i]);
        rightTaps[i] = scaledDistance(length, right[i]);
    }
    if (leftTaps != leftBefore || rightTaps != rightBefore) runsByTapsUpTo = longestRunReadingBeforeOverwrite();
}

// A tap d reads, at pair n, the cell pair n − d wrote. With the run's samples
// stored first, that cell would already hold a later pair's sample only for d
// between length − pairs and length (d = length reads the pair's own sample,
// as d = 0 does). So runs up to the shortest length − d of the taps below the
// length do; worked out once a block.
std::int32_t OutputTaps::longestRunReadingBeforeOverwrite() const {
    const std::int32_t length = line.getLength();
    std::int32_t longest = length;
    for (std::int32_t i = 0; i < kTapCount; ++i) {
        for (std::int32_t tap : {leftTaps[i], rightTaps[i]})
            if (tap < length) longest = std::min(longest, length - tap);
    }
    return longest;
}

// Where no tap's cells wrap within the run, one loop adds all six; otherwise
// a loop per tap and span. Each pair's sum adds its taps in tap order either way.
ROOMPLATE_VECTOR_CLONES void OutputTaps::tapMeans(const std::array<std::int32_t, kTapCount>& tapDistances, float* mean,
                                                  std::int32_t pairs) const {
    const float* spans[kTapCount];
    bool unbroken = true;
    for (std::int32_t i = 0; i < kTapCount; ++i) {
        spans[i] = line.unbrokenTapRun(tapDistances[i], pairs);
        unbroken = unbroken && spans[i] != nullptr;
    }
    const float tapCount = static_cast<float>(kTapCount);
    if (unbroken) {
        const float *tap1 = spans[0], *tap2 = spans[1], *tap3 = spans[2], *tap4 = spans[3], *tap5 = spans[4],
                    *tap6 = spans[5];
#pragma GCC ivdep  // the means are not the line's cells
        for (std::int32_t n = 0; n < pairs; ++n)
            mean[n] = limited(((((((0.0f + tap1[n]) + tap2[n]) + tap3[n]) + tap4[n]) + tap5[n]) + tap6[n]) / tapCount);
        return;
    }
    for (std::int32_t n = 0; n < pairs; ++n) mean[n] = 0.0f;
    for (std::int32_t tap : tapDistances) {
        line.forEachTapSpan(tap, pairs, [mean](const float* cells, std::int32_t first, std::int32_t steps) {
            float* const part = mean + first;
#pragma GCC ivdep  // the sums are not the line's cells
            for (std::int32_t n = 0; n < steps; ++n) part[n] += cells[n];
        });
    }
    for (std::int32_t n = 0; n < pairs; ++n) mean[n] = limited(mean[n] / tapCount);
}

// One loop for each mode, so that each vectorizes.
ROOMPLATE_VECTOR_CLONES void OutputTaps::writePairs(OutputMode mode, const float* values, float* output,
                                                    std::int32_t pairs) {
    if (mode == OutputMode::kReplace) {
        for (std::int32_t n = 0; n < pairs; ++n) {
            output[2 * n] = values[n];
            output[2 * n + 1] = values[n];
        }
    } else {
        for (std::int32_t n = 0; n < pairs; ++n) {
            output[2 * n] += values[n];
            output[2 * n + 1] += values[n];
        }
    }
}
