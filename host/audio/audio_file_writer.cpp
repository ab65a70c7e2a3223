#include "host/audio/audio_file_writer.h"

#include <sndfile.h>

#include <algorithm>
#include <stdexcept>

#include "host/audio/sndfile_error.h"

namespace {

int wavFormat(SampleFormat format) {
    switch (format) {
        case SampleFormat::Pcm16: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case SampleFormat::Pcm24: return SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        case SampleFormat::Float: break;
    }
    return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
}

}  // namespace

AudioFileWriter::AudioFileWriter(const std::string& path, int sampleRate, SampleFormat format,
                                 const std::string& reportedPath)
    : reportedPath(reportedPath.empty() ? path : reportedPath) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = wavFormat(format);
    file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write " + reportedPath + ": " + sndfileError(nullptr));
    if (format != SampleFormat::Float) sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // The PEAK chunk carries the time of writing: without it, the same samples make the same file.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    interleaved.resize(kChunkFrames * 2);
}

AudioFileWriter::~AudioFileWriter() {
    if (file != nullptr) sf_close(file);
}

void AudioFileWriter::write(const float* left, const float* right, std::size_t frames) {
    if (file == nullptr) throw std::runtime_error("cannot write " + reportedPath + ": the file is closed");
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min(kChunkFrames, frames - done);
        for (std::size_t frame = 0; frame < count; ++frame) {
            interleaved[2 * frame] = left[done + frame];
            interleaved[2 * frame + 1] = right[done + frame];
        }
        const sf_count_t written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(count));
        if (written != static_cast<sf_count_t>(count))
            throw std::runtime_error("cannot write " + reportedPath + ": " + sndfileError(file));
        done += count;
    }
}

void AudioFileWriter::close() {
    if (file == nullptr) return;
    sf_write_sync(file);
    const int error = sf_error(file);
    const std::string reason = sndfileError(file);
    const int closed = sf_close(file);
    file = nullptr;
    if (error != SF_ERR_NO_ERROR || closed != 0)
        throw std::runtime_error("cannot write " + reportedPath + ": " + reason);
}
