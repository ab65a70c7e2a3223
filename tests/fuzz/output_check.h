// The promise every processing call keeps, whatever the host sent before:
// each output sample is finite and within ±0.99.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

constexpr float kPromisedOutputLimit = 0.99f;

inline bool isPromisedSample(float sample) { return std::fabs(sample) <= kPromisedOutputLimit; }  // NaN fails

// "" when every sample of the channel keeps the promise, else where the first one breaks it.
inline std::string checkChannel(const float* samples, std::int32_t frames, int channel) {
    for (std::int32_t i = 0; i < frames; ++i) {
        if (isPromisedSample(samples[i])) continue;
        char text[96];
        std::snprintf(text, sizeof text, "output %d frame %d of %d is %g", channel + 1, static_cast<int>(i),
                      static_cast<int>(frames), static_cast<double>(samples[i]));
        return text;
    }
    return "";
}
