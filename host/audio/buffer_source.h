// An AudioSource that plays StereoAudio held in memory from its start.
#pragma once

#include <algorithm>

#include "host/audio/audio_stream.h"
#include "host/audio/stereo_audio.h"

class BufferSource : public AudioSource {
public:
    explicit BufferSource(const StereoAudio& audio) : audio(audio) {}

    std::size_t read(float* left, float* right, std::size_t frames) override {
        const std::size_t count = std::min(frames, audio.frames() - position);
        std::copy_n(audio.left.begin() + static_cast<std::ptrdiff_t>(position), count, left);
        std::copy_n(audio.right.begin() + static_cast<std::ptrdiff_t>(position), count, right);
        position += count;
        return count;
    }

private:
    const StereoAudio& audio;
    std::size_t position = 0;
};
