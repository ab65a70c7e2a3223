// The core the LV2, VST 3 and CLAP bindings share: any split of the audio
// gives one long call's samples, states round-trip and damaged ones change
// nothing, the bypass glides, the tail is finite until a loop cannot decay.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "reverb/parameter_table.h"
#include "reverb/plugin_state.h"
#include "reverb/reverb_processor.h"
#include "tests/reverb/reverb_test_support.h"

namespace {

struct Render {
    std::vector<float> left, right;
};

// The signal through the processor in calls of the sizes given, cycled.
Render renderInCalls(ReverbProcessor& processor, const std::vector<std::int32_t>& callSizes, std::int32_t frames,
                     bool inPlace = false) {
    TestSignal signal(77);
    StereoBlock block(frames);
    signal.fill(block);
    Render out{std::vector<float>(frames), std::vector<float>(frames)};
    if (inPlace) {
        out.left = block.in1;
        out.right = block.in2;
    }
    std::size_t call = 0;
    for (std::int32_t done = 0; done < frames; ++call) {
        const std::int32_t count = std::min(callSizes[call % callSizes.size()], frames - done);
        const float* in1 = inPlace ? out.left.data() + done : block.in1.data() + done;
        const float* in2 = inPlace ? out.right.data() + done : block.in2.data() + done;
        processor.process(in1, in2, out.left.data() + done, out.right.data() + done, count);
        done += count;
    }
    return out;
}

}  // namespace

TEST(ReverbProcessor, AnySplitOfTheAudioGivesTheSamplesOfOneLongCall) {
    const std::int32_t frames = 6000;
    ReverbProcessor whole;
    const Render expected = renderInCalls(whole, {frames}, frames);
    const std::vector<std::vector<std::int32_t>> splits = {{1}, {3}, {2, 1}, {511, 1, 64, 7}, {4096, 13}, {333}};
    for (const auto& split : splits) {
        ReverbProcessor processor;
        const Render got = renderInCalls(processor, split, frames);
        EXPECT_EQ(got.left, expected.left) << "first call size " << split[0];
        EXPECT_EQ(got.right, expected.right) << "first call size " << split[0];
    }
    ReverbProcessor inPlace;
    EXPECT_EQ(renderInCalls(inPlace, {5, 2}, frames, true).left, expected.left);
}

TEST(ReverbProcessor, AtTheVst2RateItGivesTheVst2EffectsSamples) {
    ReverbEffect effect(nullptr);
    ReverbProcessor processor;
    for (std::int32_t program : {0, 1}) {
        effect.setProgram(program);
        processor.selectProgram(program);
        effect.mainsOff();
        processor.reset();
        TestSignal signal(5);
        StereoBlock block(1024);
        signal.fill(block);
        effect.processReplacing(block.inputs(), block.outputs(), 1024);
        std::vector<float> left(1024), right(1024);
        processor.process(block.in1.data(), block.in2.data(), left.data(), right.data(), 1024);
        EXPECT_EQ(left, block.out1) << "program " << program;
        EXPECT_EQ(right, block.out2) << "program " << program;
    }
}

TEST(ReverbProcessor, ResetAndActivateRenderAsANewProcessorDoes) {
    // Colour 0.05: the diffusers' inner lowpasses hold much of what they saw for a long time.
    const auto configure = [](ReverbProcessor& processor) {
        processor.selectProgram(1);
        processor.setParameter(kColour, 0.05f);
    };
    ReverbProcessor fresh;
    configure(fresh);
    const Render expected = renderInCalls(fresh, {512}, 4096);
    for (const bool byActivate : {false, true}) {
        ReverbProcessor used;
        configure(used);
        renderInCalls(used, {300}, 20000);  // a history to forget
        if (byActivate)
            used.activate(ReverbProcessor::kDefaultSampleRate);
        else
            used.reset();
        const Render got = renderInCalls(used, {512}, 4096);
        EXPECT_EQ(got.left, expected.left) << (byActivate ? "activate" : "reset");
        EXPECT_EQ(got.right, expected.right) << (byActivate ? "activate" : "reset");
    }
}

TEST(ReverbProcessor, StateRoundTripsAndDamagedStatesChangeNothing) {
    ReverbProcessor edited;
    edited.selectProgram(1);
    edited.setParameter(kWetLevel, 0.25f);
    edited.setParameter(kTankSwitch, 0.0f);
    edited.setEditorScale(1.5f);
    const std::vector<std::uint8_t> saved = edited.saveState();
    ASSERT_EQ(saved.size(), PluginState::kSize);

    ReverbProcessor restored;
    ASSERT_TRUE(restored.loadState(saved.data(), saved.size()));
    EXPECT_EQ(restored.currentProgram(), 1);
    EXPECT_EQ(restored.editorScale(), 1.5f);
    EXPECT_EQ(restored.parameter(kWetLevel), 0.25f);
    EXPECT_FALSE(restored.getEngine().isStageOn(kTankSwitch));
    EXPECT_EQ(restored.saveState(), saved);
    EXPECT_EQ(renderInCalls(restored, {512}, 4000).left, renderInCalls(edited, {512}, 4000).left);

    std::vector<std::vector<std::uint8_t>> damaged;
    damaged.push_back(std::vector<std::uint8_t>(saved.begin(), saved.end() - 1));  // truncated
    damaged.push_back(saved);
    damaged.back().push_back(0);  // oversized
    damaged.push_back(saved);
    damaged.back()[0] = 'X';  // another plug-in's
    damaged.push_back(saved);
    damaged.back()[4] = 3;  // a newer version
    damaged.push_back(std::vector<std::uint8_t>(saved.begin(), saved.end() - 4));
    damaged.back()[4] = 1;  // version 1 with a current program
    damaged.back()[8] = 2;  // that does not exist
    damaged.push_back(saved);
    damaged.back()[4] = 1;  // version 1 is four bytes shorter
    damaged.push_back(saved);
    std::memset(damaged.back().data() + saved.size() - 4, 0, 4);  // the editor at scale 0
    damaged.push_back(saved);
    damaged.back()[8] = 2;  // program 2
    damaged.push_back(saved);
    std::memset(damaged.back().data() + 12 + 24, 0xFF, 4);  // a NaN value
    damaged.push_back(saved);
    std::memset(damaged.back().data() + 12, 'A', 24);  // a name without its end
    damaged.push_back({});
    ReverbProcessor untouched;
    const std::vector<std::uint8_t> before = untouched.saveState();
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_FALSE(untouched.loadState(damaged[i].data(), damaged[i].size())) << "damage " << i;
        EXPECT_EQ(untouched.saveState(), before) << "damage " << i;
    }
}

// A session saved before the editor had scales: both programs and the current
// one as they were, the editor at 1.
TEST(ReverbProcessor, AVersion1StateStillLoads) {
    ReverbProcessor edited;
    edited.selectProgram(1);
    edited.setParameter(kWetLevel, 0.25f);
    edited.setEditorScale(2.0f);
    std::vector<std::uint8_t> version1 = edited.saveState();
    version1.resize(PluginState::kVersion1Size);  // without the factor at the end
    version1[4] = 1;

    ReverbProcessor restored;
    restored.setEditorScale(2.0f);
    ASSERT_TRUE(restored.loadState(version1.data(), version1.size()));
    EXPECT_EQ(restored.currentProgram(), 1);
    EXPECT_EQ(restored.parameter(kWetLevel), 0.25f);
    EXPECT_EQ(restored.editorScale(), 1.0f);
}

TEST(ReverbProcessor, BypassGlidesToTheInputOverFiveMillisecondsAndBack) {
    ReverbProcessor processor;
    processor.activate(48000.0f);
    const std::int32_t glideFrames = 240;  // 5 ms at 48 kHz
    std::vector<float> input(2000, 0.25f), left(2000), right(2000);
    processor.process(input.data(), input.data(), left.data(), right.data(), 1000);
    processor.setBypass(true);
    processor.process(input.data(), input.data(), left.data(), right.data(), 2000);
    float largestStep = 0.0f;
    for (std::int32_t n = 1; n < glideFrames; ++n)
        largestStep = std::max(largestStep, std::fabs(left[n] - left[n - 1]));
    EXPECT_LT(largestStep, 0.02f);  // a glide, not a jump of the whole difference
    EXPECT_NE(left[glideFrames / 2], 0.25f);
    for (std::int32_t n = glideFrames; n < 2000; ++n) ASSERT_EQ(left[n], 0.25f) << n;
    processor.setBypass(false);
    processor.process(input.data(), input.data(), left.data(), right.data(), 2000);
    EXPECT_NE(left[glideFrames + 10], 0.25f);  // the reverb again
}

TEST(ReverbProcessor, TailIsFiniteForBothProgramsAndInfiniteWithoutAbsorption) {
    ReverbProcessor processor;
    for (std::int32_t program : {0, 1}) {
        processor.selectProgram(program);
        const std::uint32_t tail = processor.tailSamples();
        EXPECT_GT(tail, 44100u / 2) << program;  // longer than the comb decay alone
        EXPECT_LT(tail, 44100u * 30) << program;
    }
    processor.setParameter(kAbsorption, 1.0f);
    EXPECT_EQ(processor.tailSamples(), ReverbEngine::kInfiniteTail);
    processor.setParameter(kCombsSwitch, 0.0f);
    EXPECT_LT(processor.tailSamples(), ReverbEngine::kInfiniteTail);
    processor.setParameter(kTankDecay1, 1.0f);
    processor.setParameter(kTankDecay2, 1.0f);
    processor.setParameter(kTankFeed1Into2, 1.0f);
    processor.setParameter(kTankFeed2Into1, 1.0f);
    EXPECT_EQ(processor.tailSamples(), ReverbEngine::kInfiniteTail);
}
