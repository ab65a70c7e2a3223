// The two ends of a render: where stereo frames come from and where they go.
// Channels are separate (planar) buffers of 32-bit floats.
#pragma once

#include <cstddef>

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Fills up to frames frames of both channels; answers how many. Fewer than
    // asked only at the end of the source; 0 once it is exhausted.
    virtual std::size_t read(float* left, float* right, std::size_t frames) = 0;
};

class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Takes frames frames of both channels; throws std::runtime_error when it cannot.
    virtual void write(const float* left, const float* right, std::size_t frames) = 0;
};
