#include "host/loader/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

#include "host/audio/buffer_source.h"
#include "host/audio/demo_signal.h"
#include "host/loader/executable_folder.h"
#include "host/loader/hosted_plugin.h"
#include "host/loader/plugin_setup.h"
#include "tests/host/fake_effect.h"
#include "tests/host/memory_sink.h"

namespace {

StereoAudio ramp(std::size_t frames) {
    StereoAudio audio;
    for (std::size_t i = 0; i < frames; ++i) {
        audio.left.push_back(static_cast<float>(i + 1));
        audio.right.push_back(static_cast<float>(i + 1) * 0.5f);
    }
    return audio;
}

// ramp(inputFrames) through the fake in blocks of blockFrames, then tailFrames of silence.
MemorySink renderRamp(FakeEffect& fake, std::size_t inputFrames, std::int32_t blockFrames, std::uint64_t tailFrames,
                      const Renderer::Progress& progress = nullptr) {
    const StereoAudio input = ramp(inputFrames);
    BufferSource source(input);
    MemorySink sink;
    Renderer renderer(fake.record, blockFrames);
    const std::uint64_t frames = renderer.render(source, tailFrames, sink, progress);
    EXPECT_EQ(frames, sink.left.size()) << "answers the frames written";
    return sink;
}

TEST(Renderer, FullBlocksThenOneShortBlockCoverInputAndTailExactly) {
    struct Case {
        std::size_t inputFrames;
        std::int32_t block;
        std::uint64_t tailFrames;
        std::vector<std::int32_t> blocks;
    };
    const Case cases[] = {
        {1000, 256, 36, {256, 256, 256, 256, 12}},  // the tail starts inside the fourth block
        {512, 512, 0, {512}},
        {0, 512, 100, {100}},  // the tail alone
        {4, 1, 2, {1, 1, 1, 1, 1, 1}},
        {300, 128, 212, {128, 128, 128, 128}},  // ends on a block boundary: no empty block
    };
    for (const Case& c : cases) {
        FakeEffect fake;
        const MemorySink sink = renderRamp(fake, c.inputFrames, c.block, c.tailFrames);
        EXPECT_EQ(sink.left.size(), c.inputFrames + c.tailFrames);
        EXPECT_EQ(fake.blockFrames, c.blocks) << c.inputFrames << " frames in blocks of " << c.block;
    }
}

TEST(Renderer, PassesInputThroughThePluginAndTheTailAsSilence) {
    FakeEffect fake;
    const StereoAudio input = ramp(600);
    const MemorySink sink = renderRamp(fake, 600, 256, 100);
    ASSERT_EQ(sink.left.size(), 700u);
    for (std::size_t i = 0; i < 600; ++i) {
        ASSERT_EQ(sink.left[i], 2.0f * input.left[i]) << i;
        ASSERT_EQ(sink.right[i], -input.right[i]) << i;
    }
    for (std::size_t i = 600; i < 700; ++i) ASSERT_EQ(sink.left[i], 0.0f) << i;
}

TEST(Renderer, StopsBeforeABlockWhoseOutputIsNotFinite) {
    // The fake doubles the left input: 3e38 becomes infinite at frame 700, inside the third block.
    FakeEffect fake;
    StereoAudio input = ramp(1000);
    input.left[700] = 3.0e38f;
    BufferSource source(input);
    MemorySink sink;
    Renderer renderer(fake.record, 256);
    try {
        renderer.render(source, 0, sink);
        ADD_FAILURE() << "an infinite output was rendered";
    } catch (const std::runtime_error& failure) {
        EXPECT_NE(std::string(failure.what()).find("frame 700 "), std::string::npos) << failure.what();
    }
    EXPECT_EQ(sink.left.size(), 512u) << "only the blocks before it reach the sink";
}

TEST(Renderer, FramesThePluginLeavesUnwrittenAreSilence) {
    // Blocks of 6 and then 5: the fake writes whole pairs only, so the last frame of the odd block
    // is left to the host, and must not keep what the block before wrote there.
    FakeEffect fake;
    const StereoAudio input = ramp(11);
    const MemorySink sink = renderRamp(fake, 11, 6, 0);
    ASSERT_EQ(sink.left.size(), 11u);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(sink.left[i], 2.0f * input.left[i]) << i;
    EXPECT_EQ(sink.left[10], 0.0f);
    EXPECT_EQ(sink.right[10], 0.0f);
}

TEST(Renderer, HostsOtherChannelLayoutsAndTheAccumulatingEntry) {
    struct Case {
        std::int32_t inputs, outputs;
        bool replacing;
        float rightGain;  // the right output: the plug-in's second output, or its only one
    };
    for (const Case& c : {Case{1, 1, true, 2.0f}, Case{4, 3, true, -1.0f}, Case{2, 2, false, -1.0f}}) {
        FakeEffect fake(c.inputs, c.outputs, c.replacing);
        const StereoAudio input = ramp(64);
        const MemorySink sink = renderRamp(fake, 64, 32, 0);
        ASSERT_EQ(sink.left.size(), 64u);
        for (std::size_t i = 0; i < 64; ++i) {
            ASSERT_EQ(sink.left[i], 2.0f * input.left[i]) << i;
            ASSERT_EQ(sink.right[i], c.rightGain * (c.outputs == 1 ? input.left[i] : input.right[i])) << i;
        }
        ASSERT_EQ(fake.lastInputs.size(), static_cast<std::size_t>(c.inputs));
        for (std::size_t channel = 2; channel < fake.lastInputs.size(); ++channel)
            for (std::size_t i = 0; i < 32; ++i) ASSERT_EQ(fake.lastInputs[channel][i], 0.0f);
    }
    FakeEffect silent(2, 0);
    EXPECT_THROW(Renderer(silent.record, 32), std::runtime_error);
}

TEST(Renderer, StopsWhenProgressSaysSo) {
    FakeEffect fake;
    const MemorySink sink = renderRamp(fake, 1000, 100, 0, [](std::uint64_t done) { return done < 300; });
    EXPECT_EQ(sink.left.size(), 300u);
}

// The echo plug-in built beside this test, through its library's entry: a
// click comes back every 2205 frames, weaker each time by the program's feedback.
TEST(Renderer, RendersThroughALoadedPlugin) {
#if defined(_WIN32)
    const std::string path = executableFolder() + "\\" + ECHO_PLUGIN_FILE;
#else
    const std::string path = executableFolder() + "/" + ECHO_PLUGIN_FILE;
#endif
    std::string error;
    auto plugin = HostedPlugin::load(path, error);
    ASSERT_TRUE(plugin) << error;
    AEffect& effect = *plugin->effect();
    applyProgramAndSettings(effect, "long", {});  // found through effGetProgramName
    EXPECT_EQ(plugin->dispatch(effGetProgram), 1);
    plugin->start(44100.0f, 512);
    StereoAudio click;
    click.left = {1.0f};
    click.right = {1.0f};
    BufferSource source(click);
    MemorySink sink;
    Renderer renderer(effect, 512);
    renderer.render(source, 3 * 2205, sink);
    ASSERT_EQ(sink.left.size(), 1u + 3 * 2205);
    const float echoes[] = {1.0f, 1.0f, 0.8f, 0.8f * 0.8f};  // the click, then feedback 0.8 per pass
    for (std::size_t pass = 0; pass < 4; ++pass) {
        EXPECT_FLOAT_EQ(sink.left[pass * 2205], echoes[pass]) << pass;
        EXPECT_FLOAT_EQ(sink.right[pass * 2205], echoes[pass]) << pass;
        EXPECT_EQ(sink.left[pass * 2205 + 1], 0.0f) << pass;
    }
}

#if !defined(_WIN32)
// A real, third-party plug-in through the whole loop: the output is as long
// as input and tail, and the reverberation keeps sounding into the tail.
TEST(Renderer, RendersThroughARealReverb) {
    const std::string mverb = "/usr/lib/vst/MVerb-vst.so";
    if (!std::ifstream(mverb).good()) GTEST_SKIP() << "dpf-plugins-vst is not installed";
    std::string error;
    auto plugin = HostedPlugin::load(mverb, error);
    ASSERT_TRUE(plugin) << error;
    StereoAudio input = demoSignal();
    input.left.resize(kDemoSampleRate / 2);  // the click and the first notes
    input.right.resize(kDemoSampleRate / 2);
    const std::uint64_t tailFrames = kDemoSampleRate / 4;
    plugin->start(static_cast<float>(kDemoSampleRate), 512);
    Renderer renderer(*plugin->effect(), 512);
    BufferSource source(input);
    MemorySink sink;
    renderer.render(source, tailFrames, sink);
    ASSERT_EQ(sink.left.size(), input.frames() + tailFrames);
    double tailEnergy = 0.0;
    for (std::size_t i = input.frames(); i < sink.left.size(); ++i)
        tailEnergy += sink.left[i] * sink.left[i] + sink.right[i] * sink.right[i];
    EXPECT_GT(std::sqrt(tailEnergy / static_cast<double>(2 * tailFrames)), 1e-4) << "silent tail";
}
#endif

}  // namespace
