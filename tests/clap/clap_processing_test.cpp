// Audio through the CLAP interface: the sound independent of how the host
// cuts it into blocks, events at their sample, the bypass, reset and
// reactivation, and hostile values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "tests/clap/clap_test_host.h"

namespace {

clap_id idNamed(const TestInstance& instance, const char* name) {
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    for (std::uint32_t i = 0; i < params->count(instance.plugin()); ++i) {
        clap_param_info_t info{};
        params->get_info(instance.plugin(), i, &info);
        if (std::strcmp(info.name, name) == 0) return info.id;
    }
    throw std::runtime_error(std::string("no parameter named ") + name);
}

clap_id bypassId(const TestInstance& instance) {
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    for (std::uint32_t i = 0; i < params->count(instance.plugin()); ++i) {
        clap_param_info_t info{};
        params->get_info(instance.plugin(), i, &info);
        if (info.flags & CLAP_PARAM_IS_BYPASS) return info.id;
    }
    throw std::runtime_error("no bypass parameter");
}

std::vector<std::uint32_t> randomBlockSizes(std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<std::uint32_t> size(1, 700);
    std::vector<std::uint32_t> sizes;
    for (int i = 0; i < 64; ++i) sizes.push_back(size(generator));
    return sizes;
}

TEST(ClapProcessing, AnyBlockSizesGiveTheSamplesOfOneLongCallAtEveryRate) {
    TestHost host;
    const StereoBuffer input = noise(12000);
    for (const double rate : {44100.0, 48000.0, 96000.0}) {
        TestInstance reference(host);
        ASSERT_TRUE(reference.activate(rate, 12000));
        const clap_id wet = idNamed(reference, "Wet Output");
        const clap_id taps = idNamed(reference, "Delay Left 3");
        // Events at odd and even frames, so that splitting around them is tested too.
        const std::vector<ParamEvent> events = {{1001, wet, 0.8}, {4000, taps, 0.3}, {7777, wet, 0.2}};
        const StereoBuffer whole = reference.processInBlocks(input, {12000}, events);
        ASSERT_TRUE(allFinite(whole));
        const std::vector<std::vector<std::uint32_t>> cuts = {{1},   {2},    {3},    {7},       {64},
                                                              {511}, {4096}, {1, 2}, {333, 17}, randomBlockSizes(rate)};
        for (const auto& sizes : cuts) {
            TestInstance instance(host);
            ASSERT_TRUE(instance.activate(rate, 12000));
            EXPECT_TRUE(sameSamples(instance.processInBlocks(input, sizes, events), whole))
                << "rate " << rate << ", blocks of " << sizes.front() << (sizes.size() > 1 ? " and others" : "");
        }
    }
}

TEST(ClapProcessing, SilenceNoiseAndAnImpulseGiveFiniteOutputAndTheImpulseRings) {
    TestHost host;
    for (const StereoBuffer& input : {StereoBuffer(8192), noise(8192), impulse(8192)}) {
        TestInstance instance(host);
        ASSERT_TRUE(instance.activate(44100.0));
        const StereoBuffer output = instance.processInBlocks(input, {512});
        EXPECT_TRUE(allFinite(output));
    }
    TestInstance instance(host);
    ASSERT_TRUE(instance.activate(44100.0));
    const StereoBuffer ring = instance.processInBlocks(impulse(8192), {512});
    float late = 0.0f;
    for (std::size_t i = 4096; i < 8192; ++i) late = std::max(late, std::fabs(ring.left[i]));
    EXPECT_GT(late, 1e-4f) << "no reverberation 93 ms after an impulse";
}

TEST(ClapProcessing, ZeroFramesStillTakesTheEvents) {
    TestHost host;
    TestInstance instance(host);
    ASSERT_TRUE(instance.activate(44100.0));
    const clap_id wet = idNamed(instance, "Wet Output");
    StereoBuffer output;
    EXPECT_EQ(instance.process(StereoBuffer(0), output, 0, 0, {{0, wet, 0.25}}), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(instance.value(wet), 0.25);
}

// An event at offset k lands where a host that split the block at k and sent
// it at the start of the second part would have it: at the pair that begins
// at or after k.
TEST(ClapProcessing, EventsTakeEffectAtTheirSampleOffset) {
    TestHost host;
    const StereoBuffer input = noise(64);
    for (std::uint32_t offset = 0; offset < 64; ++offset) {
        TestInstance inOneCall(host), split(host);
        ASSERT_TRUE(inOneCall.activate(44100.0));
        ASSERT_TRUE(split.activate(44100.0));
        const clap_id dry = idNamed(inOneCall, "Dry Output");
        StereoBuffer one, two;
        inOneCall.process(input, one, 0, 64, {{offset, dry, 0.0}});
        split.process(input, two, 0, offset);
        split.process(input, two, offset, 64 - offset, {{0, dry, 0.0}});
        EXPECT_TRUE(sameSamples(one, two)) << "event at offset " << offset;
        // The dry signal is gone from the first frames after the event's pair on.
        const std::uint32_t pairStart = (offset + 1) & ~1u;
        if (pairStart >= 2 && pairStart < 64) {
            TestInstance untouched(host);
            ASSERT_TRUE(untouched.activate(44100.0));
            StereoBuffer plain;
            untouched.process(input, plain, 0, 64);
            EXPECT_EQ(one.left[pairStart - 1], plain.left[pairStart - 1]) << "changed before offset " << offset;
            EXPECT_NE(one.left[pairStart], plain.left[pairStart]) << "unchanged after offset " << offset;
        }
    }
}

TEST(ClapProcessing, BypassGlidesToTheInputAndBack) {
    TestHost host;
    TestInstance instance(host);
    ASSERT_TRUE(instance.activate(48000.0));
    const clap_id bypass = bypassId(instance);
    const StereoBuffer input = noise(4800);
    const StereoBuffer output = instance.processInBlocks(input, {480}, {{0, bypass, 1.0}});
    // 5 ms at 48 kHz is 240 frames: after them the input passes unchanged.
    for (std::size_t i = 240; i < 4800; ++i) ASSERT_EQ(output.left[i], input.left[i]) << "frame " << i;
    EXPECT_NE(output.left[10], input.left[10]) << "the bypass must glide, not jump";
    EXPECT_EQ(instance.value(bypass), 1.0);
}

float peak(const StereoBuffer& buffer) {
    float level = 0.0f;
    for (std::size_t i = 0; i < buffer.frames(); ++i)
        level = std::max({level, std::fabs(buffer.left[i]), std::fabs(buffer.right[i])});
    return level;
}

// What a loud impulse leaves ringing on silence after 3001 frames (ending mid-pair), with or without a reset.
float ringAfterImpulse(TestHost& host, bool resetFirst) {
    TestInstance instance(host);
    EXPECT_TRUE(instance.activate(48000.0));
    StereoBuffer loud = impulse(3001);
    loud.left[0] = loud.right[0] = 100.0f;
    instance.processInBlocks(loud, {3001});
    if (resetFirst) instance.plugin()->reset(instance.plugin());
    return peak(instance.processInBlocks(StereoBuffer(8192), {512}));
}

TEST(ClapProcessing, ResetClearsTheTail) {
    TestHost host;
    // The recursive stages idle at their own noise floor, far below this.
    constexpr float kSilent = 1e-4f;
    EXPECT_GT(ringAfterImpulse(host, false), 100 * kSilent);
    EXPECT_LT(ringAfterImpulse(host, true), kSilent);
}

TEST(ClapProcessing, ReactivationAtANewRateStartsAFreshEngine) {
    TestHost host;
    TestInstance fresh(host);
    ASSERT_TRUE(fresh.activate(48000.0));
    const StereoBuffer input = noise(8192);
    const StereoBuffer expected = fresh.processInBlocks(input, {512});

    TestInstance reactivated(host);
    ASSERT_TRUE(reactivated.activate(44100.0));
    reactivated.processInBlocks(noise(5001), {5001});
    reactivated.deactivate();
    ASSERT_TRUE(reactivated.activate(48000.0));
    EXPECT_TRUE(sameSamples(reactivated.processInBlocks(input, {512}), expected));
}

TEST(ClapProcessing, HostileValuesAndSamplesGiveFiniteOutput) {
    TestHost host;
    TestInstance instance(host);
    ASSERT_TRUE(instance.activate(44100.0));
    const double hostile[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              -1.0,
                              2.0,
                              1e300};
    std::vector<ParamEvent> events;
    std::uint32_t time = 0;
    for (const double value : hostile)
        for (const clap_id id : parameterIds(instance)) events.push_back({time++ % 4096, id, value});
    std::sort(events.begin(), events.end(), [](const ParamEvent& a, const ParamEvent& b) { return a.time < b.time; });
    StereoBuffer input = noise(4096);
    const StereoBuffer output = instance.processInBlocks(input, {4096}, events);
    EXPECT_TRUE(allFinite(output));
    for (const clap_id id : parameterIds(instance)) {
        const double value = instance.value(id);
        EXPECT_TRUE(value >= 0.0 && value <= 1.0) << "parameter " << id << " holds " << value;
    }
    StereoBuffer wild = noise(4096, 7);
    wild.left[100] = std::numeric_limits<float>::quiet_NaN();
    wild.right[200] = std::numeric_limits<float>::infinity();
    instance.processInBlocks(wild, {256});
    const StereoBuffer later = instance.processInBlocks(noise(4096, 8), {256});
    EXPECT_TRUE(allFinite(later)) << "the reverb did not recover from non-finite input";
}

}  // namespace
