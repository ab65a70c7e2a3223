// The lengths of the engine's lines, fixed when it is built from its sample
// rate. The engine runs at half that rate: one step per pair of frames.
#pragma once

#include <cstdint>

struct EngineSizes {
    float sampleRate;                // Hz, the host's
    float halfRate;                  // Hz, the engine's own
    std::int32_t maxLength;          // floor(sampleRate × 3)
    std::int32_t tankAllpassLength;  // 120 ms at the half rate
    std::int32_t diffuserLength;     // 90 ms
    std::int32_t tankDelayLength;    // 180 ms
    std::int32_t outputLength;       // 200 ms
    std::int32_t reflectionLength;   // floor(maxLength × 0.3), 1.8 s
    std::int32_t combCapacity;       // 113 ms at 44.1 kHz; the longest comb line is 100 ms

    static EngineSizes forRate(float sampleRate);
};
