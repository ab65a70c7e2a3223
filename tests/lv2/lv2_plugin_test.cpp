// The DSP library as a host meets it: dlopen, lv2_descriptor, instantiate,
// connect_port, run. The samples do not depend on how the host cuts the
// stream into run calls; port values a host should never send are harmless;
// activation clears the signal; the lv2:enabled port bypasses.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/core/lv2.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "lv2/port_layout.h"
#include "reverb/parameter_table.h"
#include "tests/reverb/sample_rate_cases.h"

namespace {

using namespace lv2_ports;

const LV2_Descriptor* descriptor() {
    static void* library = dlopen(ROOMPLATE_LV2_BINARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    return entry != nullptr ? entry(0) : nullptr;
}

std::vector<float> noise(std::size_t frames, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> amplitude(-0.5f, 0.5f);
    std::vector<float> samples(frames);
    for (float& sample : samples) sample = amplitude(random);
    return samples;
}

// One instance with every port connected to storage of its own.
class Instance {
public:
    explicit Instance(double rate = 44100.0) : lv2(descriptor()) {
        handle = lv2->instantiate(lv2, rate, "", nullptr);
        for (std::int32_t id = 0; id < kSoundParameterCount; ++id) controls[id] = kParameterTable[id].initValue;
        for (std::int32_t id = 0; id < kSoundParameterCount; ++id)
            lv2->connect_port(handle, portOf(static_cast<ParameterId>(id)), &controls[id]);
        lv2->connect_port(handle, kEnabledPort, &enabled);
        lv2->activate(handle);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    ~Instance() {
        lv2->deactivate(handle);
        lv2->cleanup(handle);
    }

    // Runs input through in calls of the given sizes (cycled); the stereo output, left then right.
    std::vector<float> process(const std::vector<float>& input, const std::vector<std::uint32_t>& calls) {
        std::vector<float> left(input.size()), right(input.size());
        std::size_t done = 0;
        for (std::size_t call = 0; done < input.size(); ++call) {
            const std::uint32_t frames =
                std::min<std::uint32_t>(calls[call % calls.size()], static_cast<std::uint32_t>(input.size() - done));
            lv2->connect_port(handle, kInputLeft, const_cast<float*>(input.data() + done));
            lv2->connect_port(handle, kInputRight, const_cast<float*>(input.data() + done));
            lv2->connect_port(handle, kOutputLeft, left.data() + done);
            lv2->connect_port(handle, kOutputRight, right.data() + done);
            lv2->run(handle, frames);
            done += frames;
        }
        left.insert(left.end(), right.begin(), right.end());
        return left;
    }

    const LV2_Descriptor* lv2;
    LV2_Handle handle = nullptr;
    float controls[kSoundParameterCount];
    float enabled = 1.0f;
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

bool allFinite(const std::vector<float>& samples) {
    for (float sample : samples)
        if (!std::isfinite(sample)) return false;
    return true;
}

TEST(Lv2Plugin, ExportsOneDescriptorWithTheRoomplateUri) {
    ASSERT_NE(descriptor(), nullptr) << dlerror();
    EXPECT_STREQ(descriptor()->URI, "urn:roomplate:reverb");
    void* library = dlopen(ROOMPLATE_LV2_BINARY, RTLD_NOW | RTLD_NOLOAD);
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    EXPECT_EQ(entry(1), nullptr);
    dlclose(library);
}

// lv2apply runs one frame per call, Ardour its period, some hosts odd splits.
TEST(Lv2Plugin, AnySplitIntoRunCallsGivesTheSamplesOfOneCall) {
    ASSERT_NE(descriptor(), nullptr);
    const std::vector<float> input = noise(6000, 1);
    Instance whole;
    whole.controls[kWetLevel] = 0.8f;
    whole.controls[kLeftTap2] = 0.3f;
    const std::vector<float> expected = whole.process(input, {6000});
    const std::vector<std::vector<std::uint32_t>> splits = {{1}, {7, 1, 333}, {2, 3}, {512}, {4095, 1, 0, 2}};
    for (const auto& split : splits) {
        Instance cut;
        cut.controls[kWetLevel] = 0.8f;
        cut.controls[kLeftTap2] = 0.3f;
        EXPECT_TRUE(sameBits(cut.process(input, split), expected)) << "first call of " << split[0] << " frames";
    }
}

// A port value outside 0 … 1 sounds as the nearest end; NaN keeps the value
// the parameter had; a switch is on above 0, as lv2:toggled says.
TEST(Lv2Plugin, PortValuesOutOfRangeOrNaNSoundAsTheirSafeEquivalent) {
    ASSERT_NE(descriptor(), nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        ParameterId id;
        float sent;
        float soundsAs;
    };
    const Case cases[] = {
        {kWetLevel, 7.0f, 1.0f},    {kWetLevel, -3.0f, 0.0f},    {kLeftTap1, inf, 1.0f},
        {kRoomWidth, -inf, 0.0f},   {kWetLevel, nan, 0.5f},      {kTankSwitch, 0.25f, 1.0f},
        {kTankSwitch, -0.0f, 0.0f}, {kCombsSwitch, -1.0f, 0.0f}, {kFilterSwitch, nan, 1.0f},
    };
    const std::vector<float> input = noise(3000, 2);
    for (const Case& c : cases) {
        Instance sent, equivalent;
        sent.controls[c.id] = c.sent;
        equivalent.controls[c.id] = c.soundsAs;
        const std::vector<float> output = sent.process(input, {100});
        EXPECT_TRUE(allFinite(output)) << kParameterTable[c.id].symbol << " = " << c.sent;
        EXPECT_TRUE(sameBits(output, equivalent.process(input, {100})))
            << kParameterTable[c.id].symbol << " = " << c.sent;
    }
}

TEST(Lv2Plugin, UnconnectedPortsAndEmptyRunsAreHarmless) {
    ASSERT_NE(descriptor(), nullptr);
    const LV2_Descriptor* lv2 = descriptor();
    LV2_Handle bare = lv2->instantiate(lv2, 48000.0, "", nullptr);
    ASSERT_NE(bare, nullptr);
    lv2->activate(bare);
    lv2->run(bare, 0);
    lv2->run(bare, 64);  // nothing connected at all
    std::vector<float> left(64, 9.0f), right(64, 9.0f);
    lv2->connect_port(bare, kOutputLeft, left.data());
    lv2->connect_port(bare, kOutputRight, right.data());
    lv2->connect_port(bare, kPortCount, left.data());  // no such port: ignored
    lv2->run(bare, 64);                                // outputs without inputs: silence
    EXPECT_EQ(left, std::vector<float>(64, 0.0f));
    EXPECT_EQ(right, std::vector<float>(64, 0.0f));
    lv2->deactivate(bare);
    lv2->cleanup(bare);
    EXPECT_EQ(lv2->instantiate(lv2, 0.0, "", nullptr), nullptr);
}

float peak(const std::vector<float>& samples) {
    float largest = 0.0f;
    for (float sample : samples) largest = std::max(largest, std::fabs(sample));
    return largest;
}

// The tail is gone after deactivate and activate; what the engine's clear
// keeps (the inner lowpass state of the diffusers, as the VST 2 plug-in's
// suspend does) is far below anything audible of the tail.
// A rate the engine cannot be built at (its lengths would overflow or be
// empty) is refused at instantiate; the edges of the range give a working instance.
TEST(Lv2Plugin, InstantiateRefusesRatesTheEngineCannotBeBuiltAt) {
    ASSERT_NE(descriptor(), nullptr);
    const LV2_Descriptor* lv2 = descriptor();
    for (double rate : kRefusedSampleRates) EXPECT_EQ(lv2->instantiate(lv2, rate, "", nullptr), nullptr) << rate;
    for (double rate : kEdgeSampleRates) {
        LV2_Handle instance = lv2->instantiate(lv2, rate, "", nullptr);
        ASSERT_NE(instance, nullptr) << rate;
        std::vector<float> left(256, 0.5f), right(256, 0.5f);
        lv2->connect_port(instance, kInputLeft, left.data());
        lv2->connect_port(instance, kInputRight, right.data());
        lv2->connect_port(instance, kOutputLeft, left.data());
        lv2->connect_port(instance, kOutputRight, right.data());
        lv2->activate(instance);
        lv2->run(instance, 256);
        EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float s) { return std::fabs(s) <= 0.99f; })) << rate;
        lv2->cleanup(instance);
    }
}

TEST(Lv2Plugin, ActivateAndDeactivateStartFromSilence) {
    ASSERT_NE(descriptor(), nullptr);
    const std::vector<float> input = noise(4000, 3), silence(4000, 0.0f);
    Instance running, restarted;
    running.process(input, {256});
    restarted.process(input, {256});
    restarted.lv2->deactivate(restarted.handle);
    restarted.lv2->activate(restarted.handle);
    const float tail = peak(running.process(silence, {256}));
    const float after = peak(restarted.process(silence, {256}));
    EXPECT_GT(tail, 0.01f);
    EXPECT_LT(after, tail * 0.01f) << "the tail before deactivate is still there";
}

// lv2:enabled at 0: after the 5 ms glide the input passes unchanged; back at
// 1 the reverb is heard again.
TEST(Lv2Plugin, EnabledPortBypassesWithAGlide) {
    ASSERT_NE(descriptor(), nullptr);
    const std::vector<float> input = noise(2000, 4);
    Instance reverb;
    reverb.enabled = 0.0f;
    const std::vector<float> bypassed = reverb.process(input, {1000});
    const std::size_t glide = 221;  // 5 ms at 44.1 kHz
    for (std::size_t n = glide + 1; n < input.size(); ++n) {
        ASSERT_EQ(bypassed[n], input[n]) << "left, frame " << n;
        ASSERT_EQ(bypassed[input.size() + n], input[n]) << "right, frame " << n;
    }
    EXPECT_NE(bypassed[1], input[1]) << "the bypass cut in without a glide";
    reverb.enabled = 1.0f;
    const std::vector<float> back = reverb.process(input, {1000});
    EXPECT_NE(back[1500], input[1500]);
}

}  // namespace
