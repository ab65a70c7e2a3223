// Parameter values to whole distances in samples, limited to a line.
#pragma once

#include <cstdint>

// floor(product) as a distance 0 … limit. Limited in float before the
// conversion, so NaN, negative or huge products give 0 or the limit.
inline std::int32_t limitedFloor(float product, std::int32_t limit) {
    if (!(product > 0.0f)) return 0;
    if (product >= static_cast<float>(limit)) return limit;
    return static_cast<std::int32_t>(product);  // truncation is floor for positive values
}

// floor(length × v) with the product in single precision: floor(4410 × 0.9f) is 3969.
inline std::int32_t scaledDistance(std::int32_t length, float value) {
    return limitedFloor(static_cast<float>(length) * value, length);
}
