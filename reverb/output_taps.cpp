#include "reverb/output_taps.h"

#include "reverb/scaled_distance.h"

void OutputTaps::updateTimes(const TapTimes& left, const TapTimes& right) {
    const std::int32_t length = line.getLength();
    for (std::int32_t i = 0; i < kTapCount; ++i) {
        leftTaps[i] = scaledDistance(length, left[i]);
        rightTaps[i] = scaledDistance(length, right[i]);
    }
}
