#include <gtest/gtest.h>

#include <vector>

#include "reverb/allpass.h"
#include "reverb/damped_allpass.h"
#include "reverb/state_variable_filter.h"
#include "reverb/tap_delay.h"
#include "reverb/two_pole_lowpass.h"

namespace {

// Runs an allpass-like step over a sequence of inputs and collects the outputs.
template <typename Step>
std::vector<float> runSteps(const std::vector<float>& inputs, Step step) {
    std::vector<float> outputs;
    for (float x : inputs) outputs.push_back(step(x));
    return outputs;
}

TEST(Allpass, ImpulseResponseIsMinusGainThenOneMinusGainSquaredAndItsEchoes) {
    // h = −g, then (1 − g²)·g^(n−1) every `distance` samples: −0.5, 0.75, 0.375 for g = 0.5, d = 2.
    Allpass allpass(4);
    const auto out = runSteps({1, 0, 0, 0, 0, 0, 0}, [&](float x) { return allpass.allpass(x, 2, 0.5f); });
    EXPECT_EQ(out, (std::vector<float>{-0.5f, 0.0f, 0.75f, 0.0f, 0.375f, 0.0f, 0.1875f}));
    EXPECT_EQ(allpass.getLastOutput(), 0.1875f);
}

TEST(Allpass, GainZeroIsAPureDelayAndDistanceZeroOrLengthIsTheFullLength) {
    struct Case {
        std::int32_t distance;
        std::vector<float> expected;
    };
    const std::vector<float> inputs{1, 2, 3, 4, 5, 6};
    for (const Case& c : {Case{1, {0, 1, 2, 3, 4, 5}}, Case{3, {0, 0, 0, 1, 2, 3}}, Case{0, {0, 0, 0, 0, 1, 2}},
                          Case{4, {0, 0, 0, 0, 1, 2}}}) {
        Allpass allpass(4);
        EXPECT_EQ(runSteps(inputs, [&](float x) { return allpass.allpass(x, c.distance, 0.0f); }), c.expected)
            << "distance " << c.distance;
    }
}

TEST(Allpass, ClearZeroesCellsAndLastOutputButKeepsTheCursor) {
    Allpass allpass(5);
    for (float x : {1.0f, 2.0f, 3.0f}) allpass.allpass(x, 1, 0.5f);
    allpass.clear();
    EXPECT_EQ(allpass.getCursor(), 3);
    EXPECT_EQ(allpass.getLastOutput(), 0.0f);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(allpass.allpass(0.0f, 0, 0.0f), 0.0f);
}

TEST(DampedAllpass, WithoutFeedbackAndDampingItMatchesTheAllpass) {
    Allpass plain(3);
    DampedAllpass damped(3);
    const std::vector<float> inputs{0.5f, -0.25f, 0.125f, 0.0f, 0.3f, -0.7f, 0.0f, 0.0f, 0.0f};
    EXPECT_EQ(runSteps(inputs, [&](float x) { return damped.allpass(x, 2, 0.6f, 1.0f, 0.0f); }),
              runSteps(inputs, [&](float x) { return plain.allpass(x, 2, 0.6f); }));
}

TEST(DampedAllpass, StoresAreHeldWithinPointNineNineButOutputsAreNot) {
    DampedAllpass damped(2);
    EXPECT_EQ(damped.allpass(5.0f, 2, 0.0f, 1.0f, 0.0f), 0.0f);
    EXPECT_EQ(damped.allpass(-5.0f, 2, 0.0f, 1.0f, 0.0f), 0.0f);
    EXPECT_EQ(damped.allpass(0.0f, 2, 0.0f, 1.0f, 0.0f), 0.99f);
    EXPECT_EQ(damped.allpass(0.0f, 2, 0.0f, 1.0f, 0.0f), -0.99f);
    // The returned value r − g·x is not limited.
    EXPECT_FLOAT_EQ(damped.allpass(4.0f, 1, 0.5f, 1.0f, 0.0f), 0.0f - 2.0f);
}

TEST(DampedAllpass, FeedbackAddsTheOldestSampleTimesFeedbackAndGain) {
    // Worked by hand: stored w = (x + g·v) + f·oldest·g with g = f = 0.5.
    DampedAllpass damped(2);
    const auto out = runSteps({0.4f, 0, 0, 0, 0}, [&](float x) { return damped.allpass(x, 2, 0.5f, 1.0f, 0.5f); });
    const std::vector<float> expected{-0.2f, 0.0f, 0.3f, 0.0f, 0.225f};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(out[i], expected[i]) << "step " << i;
}

TEST(DampedAllpass, ClearKeepsTheInnerLowpass) {
    DampedAllpass damped(2);
    for (float x : {0.5f, 0.5f, 0.5f}) damped.allpass(x, 1, 0.5f, 0.5f, 0.0f);
    const float stage2 = damped.getLowpass().getStage2();
    ASSERT_NE(stage2, 0.0f);
    damped.clear();
    EXPECT_EQ(damped.getLowpass().getStage2(), stage2);
    EXPECT_EQ(damped.getLastOutput(), 0.0f);
}

TEST(TapDelay, TapsReadBackFromTheValueJustStored) {
    TapDelay line(8);
    line.setLength(5);
    for (float x : {1.0f, 2.0f, 3.0f, 4.0f}) {
        line.tick(x);
        line.advance();
    }
    line.tick(5.0f);
    EXPECT_EQ(line.tapAt(0), 5.0f);
    EXPECT_EQ(line.tapAt(1), 4.0f);
    EXPECT_EQ(line.tapAt(4), 1.0f);
    EXPECT_EQ(line.tapAt(5), 5.0f) << "a distance of the full length wraps onto the cursor cell";
}

TEST(TapDelay, LengthIsLimitedToOneThroughTheCapacity) {
    struct Case {
        std::int32_t requested, expected;
    };
    for (const Case& c : {Case{3, 3}, Case{10, 10}, Case{11, 10}, Case{100000, 10}, Case{0, 1}, Case{-5, 1}}) {
        TapDelay line(10);
        line.setLength(c.requested);
        EXPECT_EQ(line.getLength(), c.expected) << "requested " << c.requested;
    }
}

TEST(TapDelay, CombStepFeedsBackAfterOneActiveLength) {
    TapDelay line(10);
    line.clear();
    line.setLength(3);
    EXPECT_EQ(line.combTick(0.5f, 1.0f), 1.0f);
    EXPECT_EQ(line.combTick(0.5f, 1.0f), 1.0f);
    EXPECT_EQ(line.combTick(0.5f, 1.0f), 1.0f);
    EXPECT_EQ(line.combTick(0.5f, 1.0f), 1.5f);
    EXPECT_EQ(line.readOldest(), 1.0f);
}

TEST(TapDelay, ShorteningBelowTheCursorSubtractsTheLengthOnceEachAdvance) {
    TapDelay line(10);
    for (int i = 0; i < 8; ++i) line.advance();
    line.setLength(3);
    std::vector<std::int32_t> cursors;
    for (int i = 0; i < 5; ++i) {
        line.advance();
        cursors.push_back(line.getCursor());
    }
    EXPECT_EQ(cursors, (std::vector<std::int32_t>{6, 4, 2, 0, 1}));
}

TEST(TapDelay, ClearZeroesEveryCellAndKeepsCursorAndLength) {
    TapDelay line(4);
    for (float x : {1.0f, 2.0f, 3.0f}) {
        line.tick(x);
        line.advance();
    }
    line.setLength(2);
    line.clear();
    EXPECT_EQ(line.getCursor(), 3);
    EXPECT_EQ(line.getLength(), 2);
    for (std::int32_t d = 0; d <= 2; ++d) EXPECT_EQ(line.tapAt(d), 0.0f);
}

TEST(TwoPoleLowpass, CoefficientOnePassesAndSmallerOnesSmooth) {
    TwoPoleLowpass pass;
    for (float x : {0.3f, -2.0f, 7.5f}) EXPECT_EQ(pass.filter(x, 1.0f), x);

    TwoPoleLowpass smooth;
    EXPECT_EQ(smooth.filter(1.0f, 0.5f), 0.25f);
    EXPECT_EQ(smooth.filter(1.0f, 0.5f), 0.5f);
    EXPECT_EQ(smooth.filter(1.0f, 0.5f), 0.6875f);
    EXPECT_EQ(smooth.filter(9.0f, 0.0f), 0.6875f) << "coefficient 0 holds the last output";
    smooth.reset();
    EXPECT_EQ(smooth.filter(1.0f, 0.5f), 0.25f);
}

TEST(StateVariableFilter, FrequencyZeroGivesTheScaledHighOutputOnly) {
    StateVariableFilter svf;
    EXPECT_FLOAT_EQ(svf.filter(0.8f, 0.0f, 0.5f, 0.7f, 3.0f, 5.0f), 0.7f * 0.5f * 0.8f);
    EXPECT_EQ(svf.getLow(), 0.0f);
    EXPECT_EQ(svf.getBand(), 0.0f);
}

TEST(StateVariableFilter, StepsLowThenHighThenBandAndMixesInArgumentOrder) {
    // By hand, f = 0.5, q = 1, highMix 1, lowMix 2, bandMix 4:
    // step 1 (x = 1): low 0, high 1, band 0.5 → 1 + 2·0 + 4·0.5 = 3
    // step 2 (x = 0): low 0.25, high −0.75, band 0.125 → −0.75 + 0.5 + 0.5 = 0.25
    StateVariableFilter svf;
    EXPECT_EQ(svf.filter(1.0f, 0.5f, 1.0f, 1.0f, 2.0f, 4.0f), 3.0f);
    EXPECT_EQ(svf.filter(0.0f, 0.5f, 1.0f, 1.0f, 2.0f, 4.0f), 0.25f);
    EXPECT_EQ(svf.getLow(), 0.25f);
    EXPECT_EQ(svf.getHigh(), -0.75f);
    EXPECT_EQ(svf.getBand(), 0.125f);
    svf.reset();
    EXPECT_EQ(svf.getLow() + svf.getHigh() + svf.getBand(), 0.0f);
}

}  // namespace
