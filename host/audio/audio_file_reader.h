// Reads any file libsndfile opens (WAV, AIFF, FLAC, OGG …) as stereo: a mono
// file feeds both channels, a file with more than two channels its first two.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/audio/audio_stream.h"

struct sf_private_tag;

class AudioFileReader : public AudioSource {
public:
    // Throws std::runtime_error with a one-line reason when the file cannot be read.
    explicit AudioFileReader(const std::string& path);
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;
    ~AudioFileReader() override;

    int sampleRate() const { return rate; }
    int channels() const { return channelCount; }
    std::uint64_t frames() const { return frameCount; }

    std::size_t read(float* left, float* right, std::size_t frames) override;

private:
    static constexpr std::size_t kChunkFrames = 4096;

    std::string path;
    sf_private_tag* file = nullptr;
    int rate = 0;
    int channelCount = 0;
    std::uint64_t frameCount = 0;
    std::vector<float> interleaved;
};
