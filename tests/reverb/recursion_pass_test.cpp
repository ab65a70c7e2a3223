// The filters stepped together in one loop give, to the bit, what each gives
// stepped alone: for step counts that are and are not multiples of the
// lanes' four, the tone filter longer or shorter than the lowpasses, and the
// tank's lowpasses on or left alone.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "reverb/recursion_pass.h"

namespace {

constexpr std::int32_t kMostSteps = 40;

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<float> signal(std::uint32_t seed) {
    std::vector<float> values(kMostSteps);
    for (float& value : values) {
        seed = seed * 1664525u + 1013904223u;
        value = static_cast<float>(static_cast<std::int32_t>(seed >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
    }
    return values;
}

// Filters with some history, so that their states are not zero.
TwoPoleLowpass warmLowpass(float first, float second) {
    TwoPoleLowpass filter;
    filter.setState(first, second);
    return filter;
}

StateVariableFilter warmToneFilter() {
    StateVariableFilter filter;
    for (float x : {0.5f, -0.25f, 0.75f}) filter.filter(x, 0.3f, 0.7f, 0.2f, 0.5f, 0.4f);
    return filter;
}

struct Case {
    std::int32_t toneSteps;
    std::int32_t lowpassSteps;
    bool tankOn;
};

TEST(RecursionPass, StepsEachFilterAsItWouldAlone) {
    const Case cases[] = {{32, 32, true}, {32, 18, true}, {18, 32, true},  {7, 3, false},
                          {0, 9, true},   {5, 0, true},   {40, 40, false}, {1, 1, true}};
    const std::vector<float> wet = signal(1), early = signal(2);
    std::array<std::vector<float>, 4> innerInput = {signal(3), signal(4), signal(5), signal(6)};
    std::array<std::vector<float>, 2> dampingInput = {signal(7), signal(8)};
    const float centre = 0.3f, resonance = 0.7f, highMix = 0.2f, lowMix = 0.5f, bandMix = 0.4f;
    const float bandwidthCoefficient = 0.6f, colour = 0.45f, damping[2] = {0.35f, 0.8f};

    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "tone " << c.toneSteps << ", lowpasses " << c.lowpassSteps << ", tank " << c.tankOn);
        std::vector<float> filtered(kMostSteps), band(kMostSteps);
        std::array<std::vector<float>, 4> innerOutput;
        std::array<std::vector<float>, 2> damped;
        for (auto& output : innerOutput) output.assign(kMostSteps, 0.0f);
        for (auto& output : damped) output.assign(kMostSteps, 0.0f);
        RecursionPass::ToneSteps tone{warmToneFilter(), wet.data(), filtered.data(), c.toneSteps, centre,
                                      resonance,        highMix,    lowMix,          bandMix};
        RecursionPass::LowpassSteps lowpasses{
            warmLowpass(0.1f, 0.2f),
            early.data(),
            band.data(),
            bandwidthCoefficient,
            {warmLowpass(0.3f, -0.1f), warmLowpass(-0.2f, 0.05f), warmLowpass(0.0f, 0.4f), warmLowpass(0.6f, 0.5f)},
            {innerInput[0].data(), innerInput[1].data(), innerInput[2].data(), innerInput[3].data()},
            {innerOutput[0].data(), innerOutput[1].data(), innerOutput[2].data(), innerOutput[3].data()},
            colour,
            c.tankOn,
            {warmLowpass(0.25f, 0.15f), warmLowpass(-0.35f, 0.45f)},
            {dampingInput[0].data(), dampingInput[1].data()},
            {damped[0].data(), damped[1].data()},
            {damping[0], damping[1]},
            c.lowpassSteps};
        RecursionPass::run(tone, lowpasses);

        StateVariableFilter toneAlone = warmToneFilter();
        for (std::int32_t n = 0; n < c.toneSteps; ++n)
            ASSERT_EQ(bitsOf(filtered[n]),
                      bitsOf(toneAlone.filter(wet[n], centre, resonance, highMix, lowMix, bandMix)))
                << "tone step " << n;
        EXPECT_EQ(bitsOf(tone.filter.getBand()), bitsOf(toneAlone.getBand()));
        EXPECT_EQ(bitsOf(tone.filter.getLow()), bitsOf(toneAlone.getLow()));

        TwoPoleLowpass bandwidthAlone = warmLowpass(0.1f, 0.2f);
        std::array<TwoPoleLowpass, 4> innerAlone = {warmLowpass(0.3f, -0.1f), warmLowpass(-0.2f, 0.05f),
                                                    warmLowpass(0.0f, 0.4f), warmLowpass(0.6f, 0.5f)};
        std::array<TwoPoleLowpass, 2> dampingAlone = {warmLowpass(0.25f, 0.15f), warmLowpass(-0.35f, 0.45f)};
        for (std::int32_t n = 0; n < c.lowpassSteps; ++n) {
            ASSERT_EQ(bitsOf(band[n]), bitsOf(bandwidthAlone.filter(early[n], bandwidthCoefficient))) << n;
            for (std::int32_t j = 0; j < 4; ++j)
                ASSERT_EQ(bitsOf(innerOutput[j][n]), bitsOf(innerAlone[j].filter(innerInput[j][n], colour)))
                    << "inner " << j << " step " << n;
            for (std::int32_t i = 0; c.tankOn && i < 2; ++i)
                ASSERT_EQ(bitsOf(damped[i][n]), bitsOf(dampingAlone[i].filter(dampingInput[i][n], damping[i])))
                    << "damping " << i << " step " << n;
        }
        EXPECT_EQ(bitsOf(lowpasses.bandwidth.getStage2()), bitsOf(bandwidthAlone.getStage2()));
        for (std::int32_t j = 0; j < 4; ++j)
            EXPECT_EQ(bitsOf(lowpasses.inner[j].getStage1()), bitsOf(innerAlone[j].getStage1())) << j;
        for (std::int32_t i = 0; i < 2; ++i) {  // a tank switched off keeps its filters as they were
            EXPECT_EQ(bitsOf(lowpasses.damping[i].getStage2()), bitsOf(dampingAlone[i].getStage2())) << i;
            if (!c.tankOn) {
                EXPECT_TRUE(damped[i] == std::vector<float>(kMostSteps, 0.0f)) << "untouched " << i;
            }
        }
    }
}

}  // namespace
