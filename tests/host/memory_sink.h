// An AudioSink that keeps everything it is given.
#pragma once

#include <vector>

#include "host/audio/audio_stream.h"

class MemorySink : public AudioSink {
public:
    void write(const float* l, const float* r, std::size_t frames) override {
        left.insert(left.end(), l, l + frames);
        right.insert(right.end(), r, r + frames);
    }
    std::vector<float> left;
    std::vector<float> right;
};
