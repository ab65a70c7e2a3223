// The delay lines as the stages use them: runs of steps over plain arrays of
// cells, cut where the ring wraps. Each is checked against a plain per-step
// model written out here, for spans that cross the wrap point and lines
// shorter than a span.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "reverb/allpass.h"
#include "reverb/damped_allpass.h"
#include "reverb/lowpass_lanes.h"
#include "reverb/state_variable_filter.h"
#include "reverb/tap_delay.h"
#include "reverb/two_pole_lowpass.h"

namespace {

std::vector<float> rampInput(std::int32_t count) {
    std::vector<float> input;
    for (std::int32_t n = 0; n < count; ++n) input.push_back(static_cast<float>((n * 37) % 11) * 0.1f - 0.5f);
    return input;
}

// The allpass of one ring, one step at a time: y = d − g·x, store x + g·y.
std::vector<float> modelAllpass(const std::vector<float>& input, std::int32_t length, std::int32_t distance,
                                float gain) {
    std::vector<float> cells(length, 0.0f), output;
    std::int32_t cursor = 0;
    for (float x : input) {
        const std::int32_t back = ((cursor - distance) % length + length) % length;
        const float y = cells[back] - gain * x;
        cells[cursor] = x + gain * y;
        output.push_back(y);
        cursor = (cursor + 1) % length;
    }
    return output;
}

// Runs of at most `span` steps, each cut where the cells would wrap, as the stages run them.
std::vector<float> runAllpass(Allpass& allpass, const std::vector<float>& input, std::int32_t distance, float gain,
                              std::int32_t span) {
    std::vector<float> output;
    for (std::size_t done = 0; done < input.size();) {
        std::int32_t steps = std::min<std::int32_t>(span, static_cast<std::int32_t>(input.size() - done));
        steps = std::min(steps, allpass.stepsBeforeWrap(distance));
        const DelayBlock::RunCells cells = allpass.runCells(distance);
        for (std::int32_t n = 0; n < steps; ++n)
            output.push_back(Allpass::step(input[done + n], cells.delayed[n], cells.current[n], gain));
        allpass.endRun(steps);
        done += steps;
    }
    return output;
}

// The same float to the bit; any NaN matches any NaN.
bool sameFloat(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    std::uint32_t bitsA, bitsB;
    std::memcpy(&bitsA, &a, sizeof a);
    std::memcpy(&bitsB, &b, sizeof b);
    return bitsA == bitsB;
}

}  // namespace

TEST(Allpass, RunsOfAnySpanGiveThePerStepAllpassAcrossWrapPoints) {
    const std::vector<float> input = rampInput(200);
    struct Case {
        std::int32_t length, distance, span;
    };
    // Spans longer and shorter than the ring, distances 0 and the length (both the full length).
    for (const Case& c :
         {Case{7, 3, 32}, Case{7, 0, 5}, Case{7, 7, 1}, Case{50, 13, 32}, Case{50, 49, 3}, Case{1, 1, 4}}) {
        Allpass allpass(c.length);
        const std::vector<float> expected = modelAllpass(input, c.length, c.distance % c.length, 0.6f);
        EXPECT_EQ(runAllpass(allpass, input, c.distance, 0.6f, c.span), expected)
            << "length " << c.length << ", distance " << c.distance << ", span " << c.span;
    }
}

TEST(Allpass, ImpulseGivesMinusGainThenOneMinusGainSquaredAfterTheDistance) {
    Allpass allpass(10);
    std::vector<float> impulse(12, 0.0f);
    impulse[0] = 1.0f;
    const std::vector<float> output = runAllpass(allpass, impulse, 4, 0.5f, 32);
    EXPECT_FLOAT_EQ(output[0], -0.5f);
    EXPECT_FLOAT_EQ(output[4], 1.0f - 0.25f);
    EXPECT_FLOAT_EQ(output[8], 0.5f * 0.75f);
}

TEST(Allpass, ClearZeroesTheCellsButKeepsTheCursor) {
    Allpass allpass(5);
    runAllpass(allpass, rampInput(3), 2, 0.5f, 32);
    allpass.clear();
    EXPECT_EQ(allpass.getCursor(), 3);
    const std::vector<float> silentOutput = runAllpass(allpass, std::vector<float>(5, 0.0f), 2, 0.5f, 32);
    for (float y : silentOutput) EXPECT_EQ(y, 0.0f);
}

TEST(DampedAllpass, StoresAreHeldWithinPointNineNineButOutputsAreNot) {
    DampedAllpass diffuser(4);
    TwoPoleLowpass inner;
    float cell = 0.0f;
    const float y = DampedAllpass::step(5.0f, 0.0f, cell, 0.5f, 1.0f, 0.0f, inner);
    EXPECT_FLOAT_EQ(y, -2.5f);
    EXPECT_FLOAT_EQ(cell, DampedAllpass::kStoreLimit);
    DampedAllpass::step(-5.0f, 0.0f, cell, 0.5f, 1.0f, 0.0f, inner);
    EXPECT_FLOAT_EQ(cell, -DampedAllpass::kStoreLimit);
}

TEST(DampedAllpass, WithoutFeedbackAndDampingItIsTheAllpassAndFeedbackAddsTheOldestCell) {
    TwoPoleLowpass inner;
    float plainCell = 0.2f, dampedCell = 0.2f;
    const float plain = Allpass::step(0.3f, 0.4f, plainCell, 0.5f);
    EXPECT_EQ(DampedAllpass::step(0.3f, 0.4f, dampedCell, 0.5f, 1.0f, 0.0f, inner), plain);
    EXPECT_EQ(dampedCell, plainCell);
    // The cursor cell holds the oldest sample before the store: feedback · oldest · gain is added.
    TwoPoleLowpass inner2;
    float cell = 0.2f;
    const float y = DampedAllpass::step(0.3f, 0.4f, cell, 0.5f, 1.0f, 0.5f, inner2);
    EXPECT_FLOAT_EQ(cell, (0.3f + 0.5f * y) + 0.5f * 0.2f * 0.5f);
}

TEST(DampedAllpass, EndRunKeepsTheInnerLowpassAndClearLeavesIt) {
    DampedAllpass diffuser(8);
    TwoPoleLowpass inner;
    inner.filter(1.0f, 0.5f);  // the state a run leaves behind
    const DelayBlock::RunCells cells = diffuser.runCells(3);
    const std::int32_t steps = diffuser.stepsBeforeWrap(3);
    for (std::int32_t n = 0; n < steps; ++n)
        DampedAllpass::step(0.5f, cells.delayed[n], cells.current[n], 0.5f, 0.5f, 0.0f, inner);
    diffuser.endRun(steps, inner);
    diffuser.clear();
    EXPECT_EQ(diffuser.getLowpass().getStage2(), inner.getStage2());
    EXPECT_NE(diffuser.getLowpass().getStage2(), 0.0f);
    diffuser.resetLowpass();
    EXPECT_EQ(diffuser.getLowpass().getStage2(), 0.0f);
}

TEST(TapDelay, TapSpansReadWhatEarlierStepsStoredAcrossTheWrap) {
    for (std::int32_t length : {5, 9, 40}) {
        TapDelay line(length);
        std::vector<float> written;
        const std::vector<float> input = rampInput(100);
        for (std::size_t done = 0; done < input.size();) {
            const std::int32_t count = std::min<std::int32_t>(4, static_cast<std::int32_t>(input.size() - done));
            line.tickRun(input.data() + done, count);
            // Distances a run of 4 may tap: up to length − 4, and the length itself (the cell just stored).
            for (std::int32_t distance : {0, 1, length - 4, length}) {
                line.forEachTapSpan(distance, count, [&](const float* cells, std::int32_t first, std::int32_t steps) {
                    for (std::int32_t k = 0; k < steps; ++k) {
                        const std::int64_t step = static_cast<std::int64_t>(done) + first + k;
                        const std::int64_t from = distance == length ? step : step - distance;
                        EXPECT_EQ(cells[k], from >= 0 ? input[from] : 0.0f)
                            << "length " << length << " distance " << distance << " step " << step;
                    }
                });
            }
            line.advanceBy(count);
            done += count;
        }
    }
}

TEST(TapDelay, LengthIsLimitedToOneThroughTheCapacity) {
    TapDelay line(100);
    for (auto [asked, kept] : {std::pair{0, 1}, {-5, 1}, {1, 1}, {60, 60}, {100, 100}, {101, 100}}) {
        line.setLength(asked);
        EXPECT_EQ(line.getLength(), kept) << asked;
    }
}

TEST(TapDelay, CombRunsFeedBackAfterOneActiveLengthAlsoWhenShortenedUnderTheCursor) {
    // combRun against a per-step comb, with a length change that leaves the cursor beyond the new length.
    TapDelay line(20);
    std::vector<float> cells(20, 0.0f);
    std::int32_t cursor = 0, length = 20;
    const std::vector<float> input = rampInput(90);
    std::size_t done = 0;
    for (std::int32_t count : {7, 13, 3, 20, 32, 15}) {
        if (done == 20) {
            line.setLength(6);
            length = 6;
        }
        std::vector<float> sum(count, 0.25f), expected(count, 0.25f);
        for (std::int32_t n = 0; n < count; ++n) {
            const float y = 0.5f * cells[cursor] + input[done + n];
            cells[cursor] = y;
            expected[n] += y;
            cursor += 1;
            if (cursor >= length) cursor -= length;
        }
        line.combRun(0.5f, input.data() + done, sum.data(), count);
        EXPECT_EQ(sum, expected) << "run from step " << done;
        done += count;
    }
}

TEST(TapDelay, FourCombLinesInOneLoopAddInLineOrder) {
    TapDelay a(30), b(30), c(30), d(30), a1(30), b1(30), c1(30), d1(30);
    a.setLength(30), b.setLength(27), c.setLength(25), d.setLength(22);
    a1.setLength(30), b1.setLength(27), c1.setLength(25), d1.setLength(22);
    const float gains[4] = {0.7f, 0.6f, 0.5f, 0.4f};
    const std::vector<float> input = rampInput(20);
    std::vector<float> together(20, 0.0f), oneByOne(20, 0.0f);
    TapDelay* const group[4] = {&a, &b, &c, &d};
    for (std::int32_t round = 0; round < 3; ++round) {
        std::fill(together.begin(), together.end(), 0.0f);
        std::fill(oneByOne.begin(), oneByOne.end(), 0.0f);
        if (!(a.runsWithoutWrap(20) && d.runsWithoutWrap(20))) break;
        TapDelay::combRunOfFour(group, gains, input.data(), together.data(), 20);
        a1.combRun(gains[0], input.data(), oneByOne.data(), 20);
        b1.combRun(gains[1], input.data(), oneByOne.data(), 20);
        c1.combRun(gains[2], input.data(), oneByOne.data(), 20);
        d1.combRun(gains[3], input.data(), oneByOne.data(), 20);
        EXPECT_EQ(together, oneByOne) << "round " << round;
    }
}

TEST(TapDelay, ClearZeroesEveryCellAndKeepsCursorAndLength) {
    TapDelay line(10);
    line.setLength(8);
    const std::vector<float> input = rampInput(5);
    line.tickRun(input.data(), 5);
    line.advanceBy(5);
    line.clear();
    EXPECT_EQ(line.getCursor(), 5);
    EXPECT_EQ(line.getLength(), 8);
    for (std::int32_t distance = 0; distance <= 8; ++distance)
        line.forEachTapSpan(distance, 1,
                            [](const float* cells, std::int32_t, std::int32_t) { EXPECT_EQ(cells[0], 0.0f); });
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

// Runs as the diffusers take them: four steps at a time, the rest one by one,
// from filters that already hold a state; every output and the states after
// are those of four separate filters.
TEST(LowpassLanes, EachLaneIsItsOwnTwoPoleLowpassToTheBit) {
    for (std::int32_t steps : {1, 3, 4, 7, 32}) {
        std::array<std::vector<float>, LowpassLanes::kLanes> inputs, outputs;
        std::array<TwoPoleLowpass, LowpassLanes::kLanes> separate;
        for (std::int32_t j = 0; j < LowpassLanes::kLanes; ++j) {
            inputs[j] = rampInput(steps + 5 * j);
            outputs[j].assign(inputs[j].size(), 0.0f);
            separate[j].filter(0.3f * static_cast<float>(j + 1), 0.7f);  // a state to start from
        }
        LowpassLanes lanes(separate);
        const float* const in[4] = {inputs[0].data(), inputs[1].data(), inputs[2].data(), inputs[3].data()};
        float* const out[4] = {outputs[0].data(), outputs[1].data(), outputs[2].data(), outputs[3].data()};
        const float coefficient = 0.37f;
        std::int32_t n = 0;
        for (; n + 4 <= steps; n += 4) lanes.filterFourSteps(in, out, n, coefficient);
        for (; n < steps; ++n) lanes.filterOneStep(in, out, n, coefficient);
        const std::array<TwoPoleLowpass, LowpassLanes::kLanes> after = lanes.filters();
        for (std::int32_t j = 0; j < LowpassLanes::kLanes; ++j) {
            for (std::int32_t k = 0; k < steps; ++k)
                EXPECT_TRUE(sameFloat(outputs[j][k], separate[j].filter(inputs[j][k], coefficient)))
                    << "lane " << j << ", step " << k << " of " << steps;
            EXPECT_TRUE(sameFloat(after[j].getStage1(), separate[j].getStage1())) << "lane " << j;
            EXPECT_TRUE(sameFloat(after[j].getStage2(), separate[j].getStage2())) << "lane " << j;
        }
    }
}

// A run after the lowpass is each step's stepAfterLowpass, limits and NaN
// included, also where the output array is the input array.
TEST(DampedAllpass, RunsAfterTheLowpassAreTheStepsToTheBitLimitsAndNaNIncluded) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> input = {0.3f, 5.0f, -5.0f, nan, 0.0f, -0.2f, 0.9f, 1.0e30f, -0.7f};
    const std::vector<float> lowpassed = {0.1f, -0.4f, 0.8f, 0.2f, nan, 0.5f, -0.9f, 0.0f, 0.25f};
    for (const bool inPlace : {false, true}) {
        for (std::int32_t steps = 1; steps <= static_cast<std::int32_t>(input.size()); ++steps) {
            std::vector<float> cells = rampInput(steps), expectedCells = cells;
            std::vector<float> signal = input, output(input.size(), 0.0f);
            float* const out = inPlace ? signal.data() : output.data();
            DampedAllpass::runAfterLowpass(signal.data(), lowpassed.data(), cells.data(), out, steps, 0.5f, 0.8f);
            if (steps > 2) {  // the loud steps are held at the limits
                EXPECT_EQ(cells[1], DampedAllpass::kStoreLimit);
                EXPECT_EQ(cells[2], -DampedAllpass::kStoreLimit);
            }
            for (std::int32_t n = 0; n < steps; ++n) {
                const float expected =
                    DampedAllpass::stepAfterLowpass(input[n], lowpassed[n], expectedCells[n], 0.5f, 0.8f);
                EXPECT_TRUE(sameFloat(out[n], expected)) << "step " << n << " of " << steps << ", in place " << inPlace;
                EXPECT_TRUE(sameFloat(cells[n], expectedCells[n])) << "step " << n << " of " << steps;
            }
        }
    }
}
