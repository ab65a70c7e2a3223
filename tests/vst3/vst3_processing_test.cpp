// Processing as a VST 3 host drives it: the samples of the VST 2 plug-in at
// 44.1 kHz, whatever the block sizes, parameter changes at their pairs, an
// honest tail, silence flags, a gliding bypass and only stereo 32-bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/reverb/reverb_test_support.h"
#include "tests/reverb/sample_rate_cases.h"
#include "tests/vst3/plugin_under_test.h"
#include "vst2/reverb_effect.h"
#include "vst3/vst3_ids.h"

namespace {

struct Setting {
    ParameterId id;
    float value;
};

StereoSignal renderVst2(std::int32_t program, const std::vector<Setting>& settings, const StereoSignal& input) {
    ReverbEffect effect(nullptr);
    effect.setProgram(program);
    for (const Setting& setting : settings) effect.setParameter(setting.id, setting.value);
    StereoSignal output(input.frames());
    constexpr std::size_t kBlock = 512;
    for (std::size_t done = 0; done < input.frames(); done += kBlock) {
        StereoBlock block(static_cast<std::int32_t>(kBlock));
        std::copy_n(input.left.begin() + done, kBlock, block.in1.begin());
        std::copy_n(input.right.begin() + done, kBlock, block.in2.begin());
        effect.processReplacing(block.inputs(), block.outputs(), kBlock);
        std::copy(block.out1.begin(), block.out1.end(), output.left.begin() + done);
        std::copy(block.out2.begin(), block.out2.end(), output.right.begin() + done);
    }
    return output;
}

TEST(Vst3Processing, GivesTheVst2PluginsSamplesAt44100) {
    const struct {
        const char* name;
        std::int32_t program;
        std::vector<Setting> settings;
    } cases[] = {
        {"Init", 0, {}},
        {"Dattorro", 1, {}},
        {"stereo taps, a larger room, feedback",
         1,
         {{kLeftTap2, 0.3f}, {kRightTap5, 0.7f}, {kRoomWidth, 0.6f}, {kDiffuserFeedback, 0.4f}, {kTankSwitch, 0.0f}}},
    };
    const StereoSignal input = noiseThenSilence(86 * 512, 44 * 512);  // whole blocks of 512
    for (const auto& c : cases) {
        PluginUnderTest plugin;
        plugin.activate(44100.0);
        plugin.set(kProgramParamId, c.program);
        for (const Setting& setting : c.settings) plugin.set(setting.id, setting.value);
        EXPECT_TRUE(plugin.render(input, {512}) == renderVst2(c.program, c.settings, input)) << c.name;
    }
}

TEST(Vst3Processing, SoundDoesNotDependOnBlockSizes) {
    const StereoSignal input = noiseThenSilence(20000, 4000);
    PluginUnderTest reference;
    reference.activate(48000.0);
    const StereoSignal oneCall = reference.render(input, {static_cast<std::int32_t>(input.frames())});
    const std::vector<std::vector<std::int32_t>> cuts = {{1}, {3}, {64}, {127, 2, 1, 511}, {333, 4096, 7}};
    for (const auto& blockSizes : cuts) {
        PluginUnderTest plugin;
        plugin.activate(48000.0);
        EXPECT_TRUE(plugin.render(input, blockSizes) == oneCall) << "first block size " << blockSizes[0];
    }
}

// Dry level to full and wet off at `offset`: the output changes exactly from
// the start of the pair that holds the offset, never before.
TEST(Vst3Processing, ParameterChangesTakeEffectAtTheirPair) {
    constexpr std::int32_t kBlock = 512;
    const StereoSignal input = noiseThenSilence(kBlock, 0);
    PluginUnderTest unchangedPlugin;
    unchangedPlugin.activate();
    StereoSignal unchanged = input;
    ASSERT_EQ(unchangedPlugin.process(unchanged, 0, kBlock), Steinberg_kResultOk);

    for (std::int32_t offset : {0, 1, 2, 3, 100, 101, 509, 510, 511}) {
        PluginUnderTest plugin;
        plugin.activate();
        ParameterChangeList changes;
        changes.add(kDryLevel, offset, 1.0);
        changes.add(kWetLevel, offset, 0.0);
        StereoSignal changed = input;
        ASSERT_EQ(plugin.process(changed, 0, kBlock, &changes), Steinberg_kResultOk);
        const auto pairStart = static_cast<std::size_t>(offset - offset % 2);
        EXPECT_TRUE(std::equal(changed.left.begin(), changed.left.begin() + pairStart, unchanged.left.begin()))
            << "offset " << offset << ": changed before its pair";
        EXPECT_NE(changed.left[pairStart], unchanged.left[pairStart]) << "offset " << offset << ": not at its pair";
        // The dry signal alone: the mono sum of the pair's first frame.
        const float mono = (input.left[pairStart] + input.right[pairStart]) * 0.5f;
        EXPECT_FLOAT_EQ(changed.left[pairStart], mono) << "offset " << offset;
    }
}

TEST(Vst3Processing, ChangesWithoutAudioAreStillApplied) {
    PluginUnderTest plugin;
    plugin.activate();
    ParameterChangeList changes;
    changes.add(kAbsorption, 0, 1.0);
    Steinberg_Vst_ProcessData flush{};
    flush.symbolicSampleSize = Steinberg_Vst_SymbolicSampleSizes_kSample32;
    flush.inputParameterChanges = changes.changes();
    ASSERT_EQ(plugin.processor->lpVtbl->process(plugin.processor, &flush), Steinberg_kResultOk);
    EXPECT_EQ(plugin.processor->lpVtbl->getTailSamples(plugin.processor), Steinberg_Vst_kInfiniteTail);
}

// The tail is a bound the output keeps: once it has passed after the input
// stopped, the reverb is 60 dB below its loudest. Absorption 1 never decays.
TEST(Vst3Processing, TailIsAnHonestBound) {
    for (const char* program : {"Init", "Dattorro"}) {
        PluginUnderTest plugin;
        plugin.activate(44100.0);
        plugin.set(kProgramParamId, program == std::string("Init") ? 0.0 : 1.0);
        plugin.set(kDryLevel, 0.0);
        const std::uint32_t tail = plugin.processor->lpVtbl->getTailSamples(plugin.processor);
        ASSERT_GT(tail, 0u) << program;
        ASSERT_LT(tail, 60u * 44100u) << program;
        constexpr std::size_t kNoise = 44100;
        const StereoSignal output = plugin.render(noiseThenSilence(kNoise, tail + 1024), {512});
        auto loudest = [&](std::size_t from, std::size_t to) {
            float peak = 0.0f;
            for (std::size_t i = from; i < to; ++i)
                peak = std::max({peak, std::fabs(output.left[i]), std::fabs(output.right[i])});
            return peak;
        };
        const float peak = loudest(0, kNoise);
        EXPECT_LE(loudest(kNoise + tail, output.frames()), peak * 1e-3f) << program << ": tail " << tail;
    }
    PluginUnderTest plugin;
    plugin.set(kAbsorption, 1.0);
    EXPECT_EQ(plugin.processor->lpVtbl->getTailSamples(plugin.processor), Steinberg_Vst_kInfiniteTail);
    plugin.set(kAbsorption, 0.5);
    EXPECT_LT(plugin.processor->lpVtbl->getTailSamples(plugin.processor), Steinberg_Vst_kInfiniteTail);
}

TEST(Vst3Processing, SilentOutputIsFlagged) {
    PluginUnderTest plugin;
    plugin.activate();
    StereoSignal signal = noiseThenSilence(512, 0);
    std::uint64_t flags = 0;
    ASSERT_EQ(plugin.process(signal, 0, 512, nullptr, &flags), Steinberg_kResultOk);
    EXPECT_EQ(flags, 0u) << "sound flagged silent";

    plugin.set(kDryLevel, 0.0);
    plugin.set(kWetLevel, 0.0);
    signal = noiseThenSilence(512, 0);
    ASSERT_EQ(plugin.process(signal, 0, 512, nullptr, &flags), Steinberg_kResultOk);
    EXPECT_EQ(flags, 3u);
    EXPECT_TRUE(std::all_of(signal.left.begin(), signal.left.end(), [](float s) { return s == 0.0f; }));
}

// Bypass glides to the input over 5 ms instead of jumping, then passes it unchanged.
TEST(Vst3Processing, BypassGlidesToTheInput) {
    PluginUnderTest plugin;
    plugin.activate(44100.0);
    const StereoSignal input = noiseThenSilence(1024, 0);
    StereoSignal output = input;
    ParameterChangeList changes;
    changes.add(kBypassParamId, 0, 1.0);
    ASSERT_EQ(plugin.process(output, 0, 1024, &changes), Steinberg_kResultOk);
    const std::size_t glideEnd = static_cast<std::size_t>(std::ceil(0.005 * 44100.0));
    EXPECT_NE(output.left[0], input.left[0]) << "jumped to the input";
    EXPECT_TRUE(std::equal(output.left.begin() + glideEnd, output.left.end(), input.left.begin() + glideEnd));
    EXPECT_TRUE(std::equal(output.right.begin() + glideEnd, output.right.end(), input.right.begin() + glideEnd));
}

TEST(Vst3Processing, OnlyStereoAnd32BitAreTaken) {
    PluginUnderTest plugin;
    using Arrangement = Steinberg_Vst_SpeakerArrangement;
    const Arrangement stereo = Steinberg_Vst_SpeakerArr_kStereo, mono = Steinberg_Vst_kSpeakerL;
    const Arrangement surround = Steinberg_Vst_SpeakerArr_kStereo | Steinberg_Vst_SpeakerArr_kStereoSurround;
    const struct {
        Arrangement input, output;
        std::int32_t inputs, outputs;
        Steinberg_tresult expected;
    } cases[] = {
        {stereo, stereo, 1, 1, Steinberg_kResultTrue},  {mono, mono, 1, 1, Steinberg_kResultFalse},
        {mono, stereo, 1, 1, Steinberg_kResultFalse},   {stereo, surround, 1, 1, Steinberg_kResultFalse},
        {stereo, stereo, 2, 1, Steinberg_kResultFalse}, {stereo, stereo, 0, 1, Steinberg_kResultFalse},
    };
    for (const auto& c : cases) {
        Arrangement inputs[2] = {c.input, c.input}, outputs[1] = {c.output};
        EXPECT_EQ(plugin.processor->lpVtbl->setBusArrangements(plugin.processor, inputs, c.inputs, outputs, c.outputs),
                  c.expected)
            << c.input << " -> " << c.output << ", " << c.inputs << " inputs";
    }
    EXPECT_EQ(
        plugin.processor->lpVtbl->canProcessSampleSize(plugin.processor, Steinberg_Vst_SymbolicSampleSizes_kSample64),
        Steinberg_kResultFalse);
    Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kRealtime, Steinberg_Vst_SymbolicSampleSizes_kSample64,
                                     512, 44100.0};
    EXPECT_EQ(plugin.processor->lpVtbl->setupProcessing(plugin.processor, &setup), Steinberg_kResultFalse);
}

// A rate the engine cannot be built at (its lengths would overflow or be
// empty) is refused by setupProcessing; the edges of the range process.
TEST(Vst3Processing, SetupRefusesRatesTheEngineCannotBeBuiltAt) {
    PluginUnderTest plugin;
    for (double rate : kRefusedSampleRates) {
        Steinberg_Vst_ProcessSetup setup{Steinberg_Vst_ProcessModes_kRealtime,
                                         Steinberg_Vst_SymbolicSampleSizes_kSample32, 512, rate};
        EXPECT_EQ(plugin.processor->lpVtbl->setupProcessing(plugin.processor, &setup), Steinberg_kResultFalse) << rate;
    }
    for (double rate : kEdgeSampleRates) {
        plugin.activate(rate);
        StereoSignal signal = noiseThenSilence(256, 0);
        EXPECT_EQ(plugin.process(signal, 0, 256), Steinberg_kResultOk) << rate;
        EXPECT_TRUE(std::all_of(signal.left.begin(), signal.left.end(), [](float s) { return std::fabs(s) <= 0.99f; }))
            << rate;
        plugin.deactivate();
    }
}

}  // namespace
