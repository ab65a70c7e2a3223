// One block of stereo audio for the format harnesses: two channels of
// exactly the block's frames (a sanitizer sees any access beyond them),
// filled with noise of at most ±0.5 from a seed, so that a bypassed plug-in
// passing its input through still keeps the output promise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/output_check.h"

struct NoiseBlock {
    NoiseBlock(std::int32_t frames, std::uint32_t seed) : left(frames), right(frames) {
        for (std::int32_t i = 0; i < frames; ++i) {
            left[i] = noise(seed);
            right[i] = noise(seed);
        }
    }
    std::int32_t frames() const { return static_cast<std::int32_t>(left.size()); }
    // Left then right.
    std::vector<float> samples() const {
        std::vector<float> both = left;
        both.insert(both.end(), right.begin(), right.end());
        return both;
    }
    // "" when both channels keep the output promise.
    std::string check() const {
        const std::string first = checkChannel(left.data(), frames(), 0);
        return first.empty() ? checkChannel(right.data(), frames(), 1) : first;
    }

    std::vector<float> left, right;

private:
    static float noise(std::uint32_t& state) {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(state >> 8) - (1 << 23)) / static_cast<float>(1 << 24);
    }
};
