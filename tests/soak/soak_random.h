// A small, fast random source (xorshift32) that allocates nothing, one per thread.
#pragma once

#include <cstdint>

class SoakRandom {
public:
    explicit SoakRandom(std::uint32_t seed) : state(seed != 0 ? seed : 1u) {}

    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // 0 … count−1; count ≥ 1.
    std::uint32_t below(std::uint64_t count) { return static_cast<std::uint32_t>(next() % count); }
    // 0 … 1, both ends included.
    float unit() { return static_cast<float>(next() >> 8) / static_cast<float>((1u << 24) - 1u); }

private:
    std::uint32_t state;
};
