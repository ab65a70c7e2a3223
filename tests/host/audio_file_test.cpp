#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/audio/audio_file_reader.h"
#include "host/audio/audio_file_writer.h"
#include "host/audio/pending_file.h"

namespace {

std::string scratchPath(const std::string& name) { return testing::TempDir() + "roomplate-host-" + name; }

bool exists(const std::string& path) { return std::ifstream(path).good(); }

// Frame f of channel c holds (c + 1) / 10 + f / 100000: each channel its own, all within full scale.
float pattern(int channel, std::size_t frame) {
    return static_cast<float>(channel + 1) / 10.0f + static_cast<float>(frame) / 100000.0f;
}

// Answers false when this build of libsndfile cannot write the format (the MinGW one has no FLAC).
bool writeWithLibsndfile(const std::string& path, int format, int channels, int sampleRate, std::size_t frames) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    std::vector<float> interleaved;
    for (std::size_t frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel) interleaved.push_back(pattern(channel, frame));
    const sf_count_t written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    return written == static_cast<sf_count_t>(frames);
}

TEST(AudioFileReader, GivesStereoFromAnyChannelCountAndKeepsTheRate) {
    struct Case {
        int format;
        int channels;
        int rightChannel;  // the file's channel that becomes the right one
        float tolerance;   // two steps: libsndfile scales by 2^(bits−1) − 1 one way, 2^(bits−1) back
        bool everyBuild;
    };
    const Case cases[] = {
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 0, 0.0f, true},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 1, 0.0f, true},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 3, 1, 0.0f, true},
        {SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 1, 2.0f / 8388608.0f, true},
        {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 0, 2.0f / 32768.0f, false},
    };

    const std::size_t frames = 5000;  // more than one of the reader's chunks
    for (const Case& c : cases) {
        const std::string path = scratchPath("input");
        if (!writeWithLibsndfile(path, c.format, c.channels, 22050, frames)) {
            EXPECT_FALSE(c.everyBuild) << "cannot write format 0x" << std::hex << c.format;
            continue;
        }
        AudioFileReader reader(path);
        EXPECT_EQ(reader.sampleRate(), 22050);
        EXPECT_EQ(reader.channels(), c.channels);
        EXPECT_EQ(reader.frames(), frames);
        std::vector<float> left(frames + 10), right(frames + 10);
        ASSERT_EQ(reader.read(left.data(), right.data(), left.size()), frames) << "short only at the end";
        for (std::size_t f = 0; f < frames; ++f) {
            ASSERT_NEAR(left[f], pattern(0, f), c.tolerance) << c.channels << " channels, frame " << f;
            ASSERT_NEAR(right[f], pattern(c.rightChannel, f), c.tolerance) << c.channels << " channels, frame " << f;
        }
        EXPECT_EQ(reader.read(left.data(), right.data(), 10), 0u);
        std::remove(path.c_str());
    }
}

TEST(AudioFileReader, RefusesMissingAndForeignFilesWithOneLine) {
    const std::string text = scratchPath("text.wav");
    std::ofstream(text) << "not audio";
    for (const std::string& path : {scratchPath("missing.wav"), text}) {
        try {
            AudioFileReader reader(path);
            ADD_FAILURE() << path << " was read";
        } catch (const std::runtime_error& failure) {
            const std::string message = failure.what();
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
    std::remove(text.c_str());
}

TEST(AudioFileReader, RefusesAFileCutWhileItIsRead) {
    const std::string path = scratchPath("cut.wav");
    ASSERT_TRUE(writeWithLibsndfile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 20000));
    AudioFileReader reader(path);
    std::vector<float> left(5000), right(5000);
    ASSERT_EQ(reader.read(left.data(), right.data(), 5000), 5000u);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 2 * 14000);  // 6000 frames stay
    try {
        while (reader.read(left.data(), right.data(), 5000) == 5000) {
        }
        ADD_FAILURE() << "the cut file read as complete";
    } catch (const std::runtime_error& failure) {
        EXPECT_NE(std::string(failure.what()).find("of its 20000 frames"), std::string::npos) << failure.what();
    }
    std::remove(path.c_str());
}

TEST(AudioFileReader, RefusesNonFiniteSamplesAndFolders) {
    const std::string path = scratchPath("nan.wav");
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        std::vector<float> samples(2 * 5000, 0.25f);
        samples[2 * 4321 + 1] = std::nanf("");
        sf_writef_float(file, samples.data(), 5000);
        sf_close(file);
    }
    AudioFileReader reader(path);
    std::vector<float> left(5000), right(5000);
    try {
        reader.read(left.data(), right.data(), 5000);
        ADD_FAILURE() << "NaN was read";
    } catch (const std::runtime_error& failure) {
        EXPECT_NE(std::string(failure.what()).find("frame 4321 "), std::string::npos) << failure.what();
    }
    std::remove(path.c_str());

    const std::string folder = scratchPath("folder.wav");
    std::filesystem::create_directory(folder);
    EXPECT_THROW(AudioFileReader{folder}, std::runtime_error);
    std::filesystem::remove(folder);
}

TEST(AudioFileWriter, WritesStereoWavInEachFormatAtTheGivenRate) {
    struct Case {
        SampleFormat format;
        int subtype;
        float step;  // one quantization step; two are allowed, as libsndfile scales by 2^(bits−1) − 1 and back by
                     // 2^(bits−1)
    };
    const Case cases[] = {
        {SampleFormat::Float, SF_FORMAT_FLOAT, 0.0f},
        {SampleFormat::Pcm16, SF_FORMAT_PCM_16, 1.0f / 32768.0f},
        {SampleFormat::Pcm24, SF_FORMAT_PCM_24, 1.0f / 8388608.0f},
    };
    // Past full scale at the end: PCM clips it, float keeps it.
    const std::vector<float> left = {0.0f, 0.25f, -0.5f, 0.999f, 1.5f};
    const std::vector<float> right = {0.125f, -0.25f, 0.75f, -1.0f, -1.5f};
    for (const Case& c : cases) {
        const std::string path = scratchPath("output.wav");
        {
            AudioFileWriter writer(path, 48000, c.format);
            writer.write(left.data(), right.data(), left.size());
            writer.close();
        }
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | c.subtype);
        EXPECT_EQ(info.samplerate, 48000);
        EXPECT_EQ(info.channels, 2);
        ASSERT_EQ(info.frames, static_cast<sf_count_t>(left.size()));
        std::vector<float> samples(2 * left.size());
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
        const bool clips = c.format != SampleFormat::Float;
        for (std::size_t f = 0; f < left.size(); ++f) {
            const float expectedLeft = clips ? std::fmin(left[f], 1.0f) : left[f];
            const float expectedRight = clips ? std::fmax(right[f], -1.0f) : right[f];
            EXPECT_NEAR(samples[2 * f], expectedLeft, 2.0f * c.step) << "frame " << f;
            EXPECT_NEAR(samples[2 * f + 1], expectedRight, 2.0f * c.step) << "frame " << f;
        }
        std::remove(path.c_str());
    }
}

TEST(PendingFile, AppearsUnderItsNameOnlyWhenCommitted) {
    const std::string target = scratchPath("pending.wav");
    std::remove(target.c_str());
    std::string abandonedPath;
    {
        PendingFile abandoned(target);
        abandonedPath = abandoned.temporaryPath();
        std::ofstream(abandonedPath) << "half";
        EXPECT_NE(abandonedPath, target);
        EXPECT_EQ(abandonedPath.rfind(target, 0), 0u) << "beside the final file";
    }
    EXPECT_FALSE(exists(abandonedPath));
    EXPECT_FALSE(exists(target));
    std::string temporary;
    for (const char* content : {"first", "second"}) {  // the second replaces the first
        PendingFile pending(target);
        temporary = pending.temporaryPath();
        std::ofstream(pending.temporaryPath()) << content;
        pending.commit();
    }
    EXPECT_FALSE(exists(temporary));
    std::string content;
    std::ifstream(target) >> content;
    EXPECT_EQ(content, "second");
    std::remove(target.c_str());
}

}  // namespace
