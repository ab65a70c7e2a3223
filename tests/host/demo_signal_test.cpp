#include "host/audio/demo_signal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double rms(const std::vector<float>& channel, double fromSeconds, double toSeconds) {
    const auto from = static_cast<std::size_t>(fromSeconds * kDemoSampleRate);
    const auto to = static_cast<std::size_t>(toSeconds * kDemoSampleRate);
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(channel[i]) * channel[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(DemoSignal, IsTheSameEveryTime) {
    const StereoAudio first = demoSignal();
    const StereoAudio second = demoSignal();
    EXPECT_EQ(first.left, second.left);
    EXPECT_EQ(first.right, second.right);
}

TEST(DemoSignal, IsAFewSecondsOfStereoAt44100WithinFullScale) {
    const StereoAudio demo = demoSignal();
    EXPECT_EQ(demo.sampleRate, 44100);
    EXPECT_EQ(demo.frames(), static_cast<std::size_t>(4 * 44100));
    ASSERT_EQ(demo.right.size(), demo.frames());
    float peak = 0.0f;
    for (const auto* channel : {&demo.left, &demo.right})
        for (float sample : *channel) {
            ASSERT_TRUE(std::isfinite(sample));
            peak = std::max(peak, std::fabs(sample));
        }
    EXPECT_LE(peak, 1.0f);
    EXPECT_GT(peak, 0.5f) << "too quiet to hear the reverb";
    EXPECT_NE(demo.left, demo.right) << "the notes are panned";
}

TEST(DemoSignal, SoundsThroughThePhraseAndEndsInSilence) {
    const StereoAudio demo = demoSignal();
    // The notes from 0.5 s to 3.4 s, and the noise burst at 3.0 s.
    for (double second = 0.5; second < 3.0; second += 0.5)
        EXPECT_GT(rms(demo.left, second, second + 0.5) + rms(demo.right, second, second + 0.5), 0.01) << second;
    EXPECT_GT(rms(demo.left, 3.0, 3.06), 0.05) << "noise burst";
    // Silence at the start and after the last sound, for the reverb to ring into.
    EXPECT_EQ(rms(demo.left, 0.0, 0.09) + rms(demo.right, 0.0, 0.09), 0.0);
    EXPECT_EQ(rms(demo.left, 3.5, 4.0) + rms(demo.right, 3.5, 4.0), 0.0);
}

}  // namespace
