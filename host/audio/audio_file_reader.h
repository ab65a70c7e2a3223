// Reads any file libsndfile opens (WAV, AIFF, FLAC, OGG …) as stereo: a mono
// file feeds both channels, a file with more than two channels its first two.
// Only a regular file is opened: a folder, a FIFO or a device is refused
// before it is touched (opening a FIFO would wait for a writer forever).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/audio/audio_stream.h"

struct sf_private_tag;

class AudioFileReader : public AudioSource {
public:
    // Above this a header's rate is taken as damage: its tail alone would run to gigabytes.
    static constexpr int kMaxSampleRate = 768000;

    // Throws std::runtime_error with a one-line reason when the file cannot be read.
    explicit AudioFileReader(const std::string& path);
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;
    ~AudioFileReader() override;

    int sampleRate() const { return rate; }
    int channels() const { return channelCount; }
    // The frames the header promises; 0 when it does not tell.
    std::uint64_t frames() const { return frameCount; }

    // Throws std::runtime_error when the file ends before the frames its header
    // promised (it was cut or changed while being read), or when a sample of
    // the two channels taken is NaN or infinite.
    std::size_t read(float* left, float* right, std::size_t frames) override;

private:
    static constexpr std::size_t kChunkFrames = 4096;

    void checkFinite(const float* left, const float* right, std::size_t frames) const;

    std::string path;
    sf_private_tag* file = nullptr;
    int rate = 0;
    int channelCount = 0;
    std::uint64_t frameCount = 0;
    std::uint64_t framesRead = 0;
    std::vector<float> interleaved;
};
