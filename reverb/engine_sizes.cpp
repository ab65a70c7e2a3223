#include "reverb/engine_sizes.h"

#include <cmath>

namespace {

constexpr double kCombCapacitySeconds = 2500.0 / 22050.0;  // 2500 cells at 44.1 kHz

std::int32_t floorToLength(double samples) { return static_cast<std::int32_t>(std::floor(samples)); }

}  // namespace

EngineSizes EngineSizes::forRate(float sampleRate) {
    EngineSizes s{};
    s.sampleRate = sampleRate;
    s.halfRate = static_cast<float>(static_cast<double>(sampleRate) * 0.5);
    const double halfRate = s.halfRate;
    s.maxLength = floorToLength(static_cast<double>(sampleRate) * 3.0);
    s.tankAllpassLength = floorToLength(halfRate * 0.12);
    s.diffuserLength = floorToLength(halfRate * 0.09);
    s.tankDelayLength = floorToLength(halfRate * 0.18);
    s.outputLength = floorToLength(halfRate * 0.2);
    s.reflectionLength = floorToLength(static_cast<double>(s.maxLength) * 0.3);
    s.combCapacity = floorToLength(halfRate * kCombCapacitySeconds + 0.5);
    return s;
}
