#include "host/audio/audio_file_reader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "host/audio/sndfile_error.h"

namespace {

// Refuses what is not a regular file, by what it is, before libsndfile opens it.
void checkRegularFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error && status.type() != std::filesystem::file_type::not_found)
        throw std::runtime_error("cannot read " + path + ": " + error.message());
    switch (status.type()) {
        case std::filesystem::file_type::not_found:
        case std::filesystem::file_type::regular: return;  // libsndfile reports a missing file itself
        case std::filesystem::file_type::directory:
            throw std::runtime_error("cannot read " + path + ": it is a folder, not an audio file");
        case std::filesystem::file_type::fifo:
            throw std::runtime_error("cannot read " + path + ": it is a FIFO; give a regular audio file");
        default: throw std::runtime_error("cannot read " + path + ": not a regular file");
    }
}

}  // namespace

AudioFileReader::AudioFileReader(const std::string& path) : path(path) {
    checkRegularFile(path);
    SF_INFO info{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read " + path + ": " + sndfileError(nullptr));
    if (info.samplerate <= 0 || info.channels <= 0) {
        sf_close(file);
        throw std::runtime_error("cannot read " + path + ": no sample rate or no channels");
    }
    if (info.samplerate > kMaxSampleRate) {
        sf_close(file);
        throw std::runtime_error("cannot read " + path + ": a sample rate of " + std::to_string(info.samplerate) +
                                 " Hz is beyond the 768000 Hz rendered");
    }
    rate = info.samplerate;
    channelCount = info.channels;
    // libsndfile answers its largest count for a stream that does not tell its length.
    const bool lengthKnown = info.frames > 0 && info.frames < std::numeric_limits<sf_count_t>::max();
    frameCount = lengthKnown ? static_cast<std::uint64_t>(info.frames) : 0;
    interleaved.resize(kChunkFrames * static_cast<std::size_t>(channelCount));
}

AudioFileReader::~AudioFileReader() { sf_close(file); }

std::size_t AudioFileReader::read(float* left, float* right, std::size_t frames) {
    const auto stride = static_cast<std::size_t>(channelCount);
    // Mono feeds both channels; otherwise the first two channels are taken.
    const std::size_t rightChannel = channelCount > 1 ? 1 : 0;
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t wanted = std::min(kChunkFrames, frames - done);
        const auto got =
            static_cast<std::size_t>(sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(wanted)));
        for (std::size_t frame = 0; frame < got; ++frame) {
            left[done + frame] = interleaved[frame * stride];
            right[done + frame] = interleaved[frame * stride + rightChannel];
        }
        checkFinite(left + done, right + done, got);
        done += got;
        framesRead += got;
        if (got < wanted) break;
    }
    if (done < frames && sf_error(file) != SF_ERR_NO_ERROR)
        throw std::runtime_error("cannot read " + path + ": " + sndfileError(file));
    if (done < frames && framesRead < frameCount)
        throw std::runtime_error("cannot read " + path + ": it ended after " + std::to_string(framesRead) + " of its " +
                                 std::to_string(frameCount) + " frames (cut or changed while being read)");
    return done;
}

void AudioFileReader::checkFinite(const float* left, const float* right, std::size_t frames) const {
    for (std::size_t frame = 0; frame < frames; ++frame) {
        if (std::isfinite(left[frame]) && std::isfinite(right[frame])) continue;
        throw std::runtime_error("cannot read " + path + ": frame " + std::to_string(framesRead + frame) +
                                 " holds a sample that is not a finite number (NaN or infinite)");
    }
}
