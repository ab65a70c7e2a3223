// The sizes and the per-block values the engine derives from its parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

// One pair of silence: enough to run the per-block preparation.
void prepare(ReverbEffect& effect) {
    StereoBlock block(2);
    effect.processReplacing(block.inputs(), block.outputs(), 2);
}

TEST(BlockSizes, At44100HzAsTheTimesAtTheHalfRateGive) {
    ReverbEffect effect(nullptr);
    const EngineSizes& sizes = effect.getEngine().sizes();
    EXPECT_EQ(sizes.sampleRate, 44100.0f);
    EXPECT_EQ(sizes.halfRate, 22050.0f);
    EXPECT_EQ(sizes.maxLength, 132300);
    EXPECT_EQ(sizes.tankAllpassLength, 2646);  // 120 ms
    EXPECT_EQ(sizes.diffuserLength, 1984);     // 90 ms
    EXPECT_EQ(sizes.tankDelayLength, 3969);    // 180 ms
    EXPECT_EQ(sizes.outputLength, 4410);       // 200 ms
    EXPECT_EQ(sizes.reflectionLength, 39690);  // 1.8 s
    EXPECT_EQ(sizes.combCapacity, 2500);
}

TEST(BlockValues, InitHasTwentyCombLinesOverOneOctaveWithADecayOf300Ms) {
    ReverbEffect effect(nullptr);
    prepare(effect);
    const BlockValues& values = blockValuesOf(effect);
    ASSERT_EQ(values.activeCombs, 20);
    EXPECT_EQ(values.combDecayTime, 300.0f);
    EXPECT_EQ(combLengthOf(effect, 0), 2205);
    EXPECT_EQ(combLengthOf(effect, 1), 2129);
    EXPECT_EQ(combLengthOf(effect, 2), 2057);
    EXPECT_EQ(combLengthOf(effect, 19), 1141);  // 100 / 2^(19/20) = 51.76 ms
    for (int i = 0; i < 20; ++i) {
        const long double lengthMs = 100.0L / std::pow(2.0L, i / 20.0L);
        EXPECT_EQ(combLengthOf(effect, i), static_cast<std::int32_t>(std::floor(lengthMs * 22.05L))) << i;
        // 60 dB in 300 ms: gain 10^(−3·L/300).
        EXPECT_NEAR(values.combGain[i], std::pow(10.0L, -lengthMs / 100.0L), 1e-7) << i;
    }
    EXPECT_EQ(values.combGain[0], 0.1f) << "the 100 ms line has the gain p1";
}

TEST(BlockValues, InitReflectionsComeFromTheImageTable) {
    // Room 10 m × 10 m, source (1, 1), listener (2, 3). Rows 0, 3 and 6 lie at 2D + sy = 21.
    struct Image {
        double x, y, weight;
    };
    const Image images[8] = {{-1, 21, 0.5}, {-1, 1, 1}, {-1, -1, 1},   {1, 21, 0.5},
                             {19, -1, 1},   {1, -1, 1}, {19, 21, 0.5}, {19, 1, 1}};
    ReverbEffect effect(nullptr);
    prepare(effect);
    const BlockValues& values = blockValuesOf(effect);
    for (int k = 0; k < 8; ++k) {
        const double distance = std::hypot(images[k].x - 2.0, images[k].y - 3.0);
        EXPECT_EQ(values.reflectionTap[k], static_cast<std::int32_t>(std::floor(distance / 343.0 * 22050.0))) << k;
        EXPECT_NEAR(values.reflectionGain[k], 0.1 * images[k].weight * 100.0 / distance, 1e-5) << k;
    }
    EXPECT_EQ(values.reflectionTap[2], 321);
    EXPECT_EQ(values.reflectionGain[2], 2.0f);
}

TEST(BlockValues, DattorroDistances) {
    ReverbEffect effect(nullptr);
    effect.setProgram(1);
    prepare(effect);
    const BlockValues& values = blockValuesOf(effect);
    EXPECT_EQ(values.diffuserDistance, (std::array<std::int32_t, 4>{99, 79, 277, 198}));
    EXPECT_EQ(values.tankAllpassDistance[Tank::kAllpassA], 502);
    EXPECT_EQ(values.tankAllpassDistance[Tank::kAllpassB], 1323);
    EXPECT_EQ(values.tankAllpassDistance[Tank::kAllpassC], 661);
    EXPECT_EQ(values.tankAllpassDistance[Tank::kAllpassD], 1958);
    EXPECT_EQ(values.tankDelayTap, (std::array<std::int32_t, 4>{3294, 3135, 2738, 2341}));
    EXPECT_EQ(values.activeCombs, 12);
}

TEST(BlockValues, DistancesAreSinglePrecisionProductsThenFloored) {
    // In double 4410 × 0.9f is 3968.9999; the float product rounds to 3969.
    ReverbEffect effect(nullptr);
    effect.setParameter(36, 0.9f);
    effect.setParameter(47, 0.5f);
    effect.setParameter(0, 0.04f);  // floor(20 × 0.04) = 0 lines
    prepare(effect);
    EXPECT_EQ(blockValuesOf(effect).outputTapLeft[0], 3969);
    EXPECT_EQ(blockValuesOf(effect).outputTapRight[5], 2205);
    EXPECT_EQ(blockValuesOf(effect).activeCombs, 0);
}

TEST(BlockValues, AbsorptionOneMeansNoDecayAndZeroMeansSilentCombs) {
    struct Case {
        float absorption;
        float expectedGain;
    };
    for (const Case& c : {Case{1.0f, 1.0f}, Case{0.0f, 0.0f}}) {
        ReverbEffect effect(nullptr);
        effect.setParameter(1, c.absorption);
        prepare(effect);
        for (int i = 0; i < 20; ++i) EXPECT_EQ(blockValuesOf(effect).combGain[i], c.expectedGain) << i;
    }
}

TEST(BlockValues, AnImagePointOnTheListenerGetsTheMinimumDistance) {
    // Source and listener both at x = 0 and at the same y: image 1 (−sx, sy) is the listener.
    ReverbEffect effect(nullptr);
    effect.setParameter(32, 0.0f);
    effect.setParameter(34, 0.0f);
    effect.setParameter(33, 0.4f);
    effect.setParameter(35, 0.4f);
    prepare(effect);
    const BlockValues& values = blockValuesOf(effect);
    EXPECT_EQ(values.reflectionTap[1], 0);
    EXPECT_FLOAT_EQ(values.reflectionGain[1], 0.1f * 100.0f / EarlyReflections::kMinReflectionDistance);
    EXPECT_TRUE(std::isfinite(values.reflectionGain[1]));
}

// Any value, however wild, gives distances that stay inside their buffers.
TEST(BlockValues, WildParameterValuesKeepEveryDistanceInsideItsBuffer) {
    const float inf = std::numeric_limits<float>::infinity();
    const float wild[] = {1.5f,
                          20.0f,
                          1e30f,
                          -0.5f,
                          -1e30f,
                          inf,
                          -inf,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::denorm_min()};
    for (float value : wild) {
        ReverbEffect effect(nullptr);
        for (std::int32_t index = 0; index < kParameterCount; ++index) effect.setParameter(index, value);
        prepare(effect);
        const EngineSizes& sizes = effect.getEngine().sizes();
        const BlockValues& values = blockValuesOf(effect);
        auto within = [](std::int32_t v, std::int32_t limit) { return v >= 0 && v <= limit; };
        for (std::int32_t tap : values.reflectionTap) EXPECT_TRUE(within(tap, sizes.reflectionLength)) << value;
        EXPECT_TRUE(within(values.activeCombs, CombBank::kMaxCombs)) << value;
        for (std::int32_t d : values.diffuserDistance) EXPECT_TRUE(within(d, sizes.diffuserLength)) << value;
        for (std::int32_t d : values.tankAllpassDistance) EXPECT_TRUE(within(d, sizes.tankAllpassLength)) << value;
        for (std::int32_t d : values.tankDelayTap) EXPECT_TRUE(within(d, sizes.tankDelayLength)) << value;
        for (std::int32_t d : values.outputTapLeft) EXPECT_TRUE(within(d, sizes.outputLength)) << value;
        for (std::int32_t d : values.outputTapRight) EXPECT_TRUE(within(d, sizes.outputLength)) << value;
        for (int i = 0; i < CombBank::kMaxCombs; ++i) {
            EXPECT_GE(combLengthOf(effect, i), 1);
            EXPECT_LE(combLengthOf(effect, i), sizes.combCapacity);
        }
    }
}

TEST(BlockValues, ValuesAboveOneReachTheEndOfTheirBuffer) {
    ReverbEffect effect(nullptr);
    effect.setParameter(0, 3.0f);
    effect.setParameter(3, 1.0f);
    effect.setParameter(7, 7.0f);
    effect.setParameter(17, 1e20f);
    effect.setParameter(36, 2.0f);
    effect.setParameter(30, 1e6f);  // a huge room: reflections beyond the line's 1.8 s
    prepare(effect);
    const BlockValues& values = blockValuesOf(effect);
    EXPECT_EQ(values.activeCombs, 20);
    EXPECT_EQ(values.diffuserDistance[0], 1984);
    EXPECT_EQ(values.tankAllpassDistance[Tank::kAllpassA], 2646);
    EXPECT_EQ(values.tankDelayTap[0], 3969);
    EXPECT_EQ(values.outputTapLeft[0], 4410);
    EXPECT_EQ(values.reflectionTap[4], 39690);
}

}  // namespace
