// Writes stereo WAV files: 32-bit float, or PCM of 16 or 24 bits (clipped to
// full scale, where float samples above it would otherwise wrap round). The
// same samples always make the same bytes, on every build.
#pragma once

#include <string>
#include <vector>

#include "host/audio/audio_stream.h"

struct sf_private_tag;

enum class SampleFormat { Float, Pcm16, Pcm24 };

class AudioFileWriter : public AudioSink {
public:
    // Creates (or replaces) the file; throws std::runtime_error with a one-line reason when it cannot.
    // Messages name reportedPath, when given: the file the user asked for, where path is a temporary one.
    AudioFileWriter(const std::string& path, int sampleRate, SampleFormat format, const std::string& reportedPath = {});
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;
    ~AudioFileWriter() override;

    void write(const float* left, const float* right, std::size_t frames) override;
    // Completes the file (header sizes included); throws when it could not be written in full.
    void close();

private:
    static constexpr std::size_t kChunkFrames = 4096;

    std::string reportedPath;
    sf_private_tag* file = nullptr;
    std::vector<float> interleaved;
};
