#include "host/audio/audio_file_reader.h"

#include <sndfile.h>

#include <algorithm>
#include <stdexcept>

#include "host/audio/sndfile_error.h"

AudioFileReader::AudioFileReader(const std::string& path) : path(path) {
    SF_INFO info{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read " + path + ": " + sndfileError(nullptr));
    if (info.samplerate <= 0 || info.channels <= 0) {
        sf_close(file);
        throw std::runtime_error("cannot read " + path + ": no sample rate or no channels");
    }
    rate = info.samplerate;
    channelCount = info.channels;
    frameCount = info.frames > 0 ? static_cast<std::uint64_t>(info.frames) : 0;
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
        done += got;
        if (got < wanted) break;
    }
    if (done < frames && sf_error(file) != SF_ERR_NO_ERROR)
        throw std::runtime_error("cannot read " + path + ": " + sndfileError(file));
    return done;
}
