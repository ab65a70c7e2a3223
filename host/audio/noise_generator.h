// White noise from a 32-bit xorshift generator: the same sequence for the same
// seed on every build and every run, with nothing taken from the system.
#pragma once

#include <cstdint>

class NoiseGenerator {
public:
    static constexpr std::uint32_t kDefaultSeed = 0x2545F491u;

    explicit NoiseGenerator(std::uint32_t seed = kDefaultSeed) : state(seed != 0 ? seed : kDefaultSeed) {}

    // Uniform in [-1, 1): the top 24 bits of the state, exact in a float.
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state >> 8) * (1.0f / 8388608.0f) - 1.0f;
    }

private:
    std::uint32_t state;  // never 0: xorshift would stay at 0
};
