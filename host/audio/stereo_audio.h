// Stereo audio held in memory, one vector per channel.
#pragma once

#include <vector>

struct StereoAudio {
    int sampleRate = 44100;
    std::vector<float> left;
    std::vector<float> right;

    std::size_t frames() const { return left.size(); }
};
