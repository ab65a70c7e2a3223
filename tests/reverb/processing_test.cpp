#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

constexpr std::int32_t kFrames = 512;
const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

void switchAllStagesOff(ReverbEffect& effect) {
    for (std::int32_t index : {kFilterSwitch, kReflectionsSwitch, kTankSwitch, kCombsSwitch})
        effect.setParameter(index, 0.0f);
}

// Dry signal only: x reaches the output through the untapped output line.
void dryOnly(ReverbEffect& effect) {
    switchAllStagesOff(effect);
    effect.setParameter(25, 1.0f);
    effect.setParameter(26, 0.0f);
}

bool allFiniteWithinLimit(const std::vector<float>& samples) {
    for (float v : samples)
        if (!std::isfinite(v) || std::fabs(v) > OutputTaps::kOutputLimit) return false;
    return true;
}

TEST(Processing, AnExactlySilentInputBecomesOneTenMillionth) {
    EXPECT_EQ(bitsOf(ReverbEngine::kSilence), 0x33D6BF95u);

    ReverbEffect silent(nullptr), cancelling(nullptr);
    for (int block = 0; block < 4; ++block) {
        StereoBlock zeros(kFrames), opposite(kFrames);
        for (std::int32_t i = 0; i < kFrames; ++i) {
            opposite.in1[i] = 0.3f * static_cast<float>(i % 7);
            opposite.in2[i] = -opposite.in1[i];
        }
        silent.processReplacing(zeros.inputs(), zeros.outputs(), kFrames);
        cancelling.processReplacing(opposite.inputs(), opposite.outputs(), kFrames);
        for (std::int32_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(bitsOf(zeros.out1[i]), bitsOf(opposite.out1[i])) << "block " << block << " frame " << i;
            ASSERT_NE(zeros.out1[i], 0.0f) << "silence gives tiny outputs, never exact zeros";
        }
    }
}

TEST(Processing, TheDryPathCarriesTheMonoSumOfTheEvenFrames) {
    ReverbEffect effect(nullptr);
    dryOnly(effect);
    StereoBlock block(8);
    const float left[8] = {0.2f, 99.0f, -0.4f, 99.0f, 0.0f, 99.0f, 0.6f, 99.0f};
    const float right[8] = {0.4f, -99.0f, 0.0f, -99.0f, 0.0f, -99.0f, -0.2f, -99.0f};
    for (int i = 0; i < 8; ++i) {
        block.in1[i] = left[i];
        block.in2[i] = right[i];
    }
    effect.processReplacing(block.inputs(), block.outputs(), 8);
    const float expected[4] = {0.3f, -0.2f, ReverbEngine::kSilence, 0.2f};
    for (int pair = 0; pair < 4; ++pair) {
        EXPECT_FLOAT_EQ(block.out1[2 * pair], expected[pair]) << pair;
        EXPECT_EQ(block.out1[2 * pair + 1], block.out1[2 * pair]);
        EXPECT_EQ(block.out2[2 * pair], block.out1[2 * pair]) << "untapped output is mono";
        EXPECT_EQ(block.out2[2 * pair + 1], block.out1[2 * pair]);
    }
}

TEST(Processing, OutputsAreLimitedToExactlyPointNineNine) {
    ReverbEffect dry(nullptr);
    dryOnly(dry);
    StereoBlock block(4);
    block.in1 = {5.0f, 0.0f, -5.0f, 0.0f};
    block.in2 = {5.0f, 0.0f, -5.0f, 0.0f};
    dry.processReplacing(block.inputs(), block.outputs(), 4);
    EXPECT_EQ(block.out1, (std::vector<float>{0.99f, 0.99f, -0.99f, -0.99f}));
    EXPECT_EQ(block.out2, block.out1);

    // The full reverb driven hard never leaves ±0.99 and reaches it exactly.
    ReverbEffect loud(nullptr);
    bool reachedLimit = false;
    TestSignal signal;
    for (int b = 0; b < 20; ++b) {
        StereoBlock noisy(kFrames);
        signal.fill(noisy);
        for (float& v : noisy.in1) v *= 40.0f;
        loud.processReplacing(noisy.inputs(), noisy.outputs(), kFrames);
        ASSERT_TRUE(allFiniteWithinLimit(noisy.out1));
        ASSERT_TRUE(allFiniteWithinLimit(noisy.out2));
        for (float v : noisy.out1) reachedLimit = reachedLimit || std::fabs(v) == 0.99f;
    }
    EXPECT_TRUE(reachedLimit);
}

TEST(Processing, ProcessAddsToWhatTheHostsBufferHolds) {
    ReverbEffect replacing(nullptr), adding(nullptr);
    TestSignal signal;
    for (int b = 0; b < 3; ++b) {
        StereoBlock stored(kFrames), added(kFrames, 0.25f);
        signal.fill(stored);
        added.in1 = stored.in1;
        added.in2 = stored.in2;
        replacing.processReplacing(stored.inputs(), stored.outputs(), kFrames);
        adding.process(added.inputs(), added.outputs(), kFrames);
        for (std::int32_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(added.out1[i], 0.25f + stored.out1[i]) << i;
            ASSERT_EQ(added.out2[i], 0.25f + stored.out2[i]) << i;
        }
    }
}

TEST(Processing, TwoFramesRenderOnePairAndTouchNothingElse) {
    ReverbEffect effect(nullptr);
    StereoBlock block(4, 7.0f);
    block.in1[0] = 0.5f;
    effect.processReplacing(block.inputs(), block.outputs(), 2);
    EXPECT_NE(block.out1[0], 7.0f);
    EXPECT_EQ(block.out1[1], block.out1[0]);
    EXPECT_EQ(block.out2[1], block.out2[0]);
    EXPECT_EQ(block.out1[2], 7.0f);
    EXPECT_EQ(block.out2[3], 7.0f);
}

TEST(Processing, AnOddLastFrameRepeatsTheLastPairAndCarriesNoPhase) {
    ReverbEffect odd(nullptr), even(nullptr), adding(nullptr);
    TestSignal signal;
    float lastLeft = 0.0f, lastRight = 0.0f;
    for (int b = 0; b < 6; ++b) {
        StereoBlock five(5, 9.0f), four(4), added(5, 0.25f);
        signal.fill(five);
        for (int i = 0; i < 4; ++i) {
            four.in1[i] = five.in1[i];
            four.in2[i] = five.in2[i];
        }
        added.in1 = five.in1;
        added.in2 = five.in2;
        odd.processReplacing(five.inputs(), five.outputs(), 5);
        even.processReplacing(four.inputs(), four.outputs(), 4);
        adding.process(added.inputs(), added.outputs(), 5);
        for (int i = 0; i < 4; ++i) ASSERT_EQ(bitsOf(five.out1[i]), bitsOf(four.out1[i])) << b << " " << i;
        EXPECT_EQ(five.out1[4], five.out1[3]);
        EXPECT_EQ(five.out2[4], five.out2[3]);
        EXPECT_EQ(added.out1[4], 0.25f + five.out1[3]);
        EXPECT_EQ(added.out2[4], 0.25f + five.out2[3]);
        lastLeft = five.out1[3];
        lastRight = five.out2[3];
    }
    // A single frame has no pair: it gets the previous block's last pair, or silence before any.
    StereoBlock one(1, 9.0f);
    odd.processReplacing(one.inputs(), one.outputs(), 1);
    EXPECT_EQ(one.out1[0], lastLeft);
    EXPECT_EQ(one.out2[0], lastRight);
    ReverbEffect fresh(nullptr);
    StereoBlock first(1, 9.0f);
    fresh.processReplacing(first.inputs(), first.outputs(), 1);
    EXPECT_EQ(first.out1[0], 0.0f);
    EXPECT_EQ(first.out2[0], 0.0f);
}

TEST(Processing, NonPositiveFrameCountsAndNullBuffersDoNothing) {
    ReverbEffect effect(nullptr), twin(nullptr);
    StereoBlock block(4, 7.0f);
    block.in1 = {0.5f, 0.5f, 0.5f, 0.5f};
    effect.processReplacing(block.inputs(), block.outputs(), 0);
    effect.process(block.inputs(), block.outputs(), -3);
    effect.processReplacing(nullptr, block.outputs(), 4);
    effect.processReplacing(block.inputs(), nullptr, 4);
    float* halfInputs[2] = {block.in1.data(), nullptr};
    effect.processReplacing(halfInputs, block.outputs(), 4);
    float* halfOutputs[2] = {nullptr, block.out2.data()};
    effect.process(block.inputs(), halfOutputs, 4);
    EXPECT_EQ(block.out1, (std::vector<float>(4, 7.0f)));
    EXPECT_EQ(block.out2, (std::vector<float>(4, 7.0f)));

    // Nothing ran: the state matches a fresh instance's.
    StereoBlock after(kFrames), reference(kFrames);
    TestSignal(3).fill(after);
    TestSignal(3).fill(reference);
    effect.processReplacing(after.inputs(), after.outputs(), kFrames);
    twin.processReplacing(reference.inputs(), reference.outputs(), kFrames);
    EXPECT_EQ(after.out1, reference.out1);
}

TEST(Processing, NonFiniteInputSamplesCountAsSilence) {
    ReverbEffect effect(nullptr), silent(nullptr);
    for (int b = 0; b < 3; ++b) {
        StereoBlock wild(kFrames), zeros(kFrames);
        const float values[] = {kNaN, kInf, -kInf, 3e38f};
        for (std::int32_t i = 0; i < kFrames; ++i) {
            wild.in1[i] = values[i % 4];
            wild.in2[i] = i % 8 < 4 ? values[(i + 1) % 4] : 3e38f;
        }
        effect.processReplacing(wild.inputs(), wild.outputs(), kFrames);
        silent.processReplacing(zeros.inputs(), zeros.outputs(), kFrames);
        ASSERT_TRUE(allFiniteWithinLimit(wild.out1));
        for (std::int32_t i = 0; i < kFrames; ++i) ASSERT_EQ(bitsOf(wild.out1[i]), bitsOf(zeros.out1[i])) << i;
    }
}

// Renders `blocks` blocks of the test signal and tells whether every output was finite and within the limit.
bool renderIsSane(ReverbEffect& effect, TestSignal& signal, int blocks, float inputGain = 1.0f) {
    bool sane = true;
    for (int b = 0; b < blocks; ++b) {
        StereoBlock block(kFrames);
        signal.fill(block);
        for (float& v : block.in1) v *= inputGain;
        effect.processReplacing(block.inputs(), block.outputs(), kFrames);
        sane = sane && allFiniteWithinLimit(block.out1) && allFiniteWithinLimit(block.out2);
    }
    return sane;
}

// Feeds both effects the same test signal and tells whether their outputs agree to the bit.
::testing::AssertionResult sameOutputs(ReverbEffect& a, ReverbEffect& b, std::uint32_t seed, int blocks) {
    TestSignal signalA(seed), signalB(seed);
    for (int block = 0; block < blocks; ++block) {
        StereoBlock x(kFrames), y(kFrames);
        signalA.fill(x);
        signalB.fill(y);
        a.processReplacing(x.inputs(), x.outputs(), kFrames);
        b.processReplacing(y.inputs(), y.outputs(), kFrames);
        if (x.out1 != y.out1 || x.out2 != y.out2) return ::testing::AssertionFailure() << "differ in block " << block;
    }
    return ::testing::AssertionSuccess();
}

TEST(Processing, WildParameterValuesNeverLetANonFiniteOrLoudSampleOut) {
    const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 4.0f, -2.0f};
    for (std::int32_t index = 0; index < kParameterCount; ++index) {
        for (float value : wild) {
            ReverbEffect effect(nullptr);
            TestSignal signal(static_cast<std::uint32_t>(index));
            effect.setParameter(index, value);
            ASSERT_TRUE(renderIsSane(effect, signal, 3)) << "index " << index << " value " << value;
            effect.setParameter(index, kParameterTable[index].initValue);
            ASSERT_TRUE(renderIsSane(effect, signal, 2)) << "index " << index << " value " << value;

            // Recovered: the reverb answers its input again instead of staying silent or pinned.
            StereoBlock block(kFrames);
            signal.fill(block);
            effect.processReplacing(block.inputs(), block.outputs(), kFrames);
            int alive = 0;
            for (float v : block.out1) alive += v != 0.0f && std::fabs(v) < OutputTaps::kOutputLimit;
            EXPECT_GT(alive, kFrames / 2) << "index " << index << " value " << value;
        }
    }
}

TEST(Processing, HugeFiniteInputStaysLimitedAndTheReverbRecovers) {
    ReverbEffect effect(nullptr);
    TestSignal signal;
    EXPECT_TRUE(renderIsSane(effect, signal, 4, 1e38f));
    EXPECT_TRUE(renderIsSane(effect, signal, 20, 1.0f));
}

// A poisoned block clears the signal state, so the reverb then runs exactly as a fresh one does.
TEST(Processing, AfterANonFiniteBlockTheStateIsClearedAndMatchesAFreshInstance) {
    struct Case {
        std::int32_t index;
        float value;
    };
    for (const Case& c : {Case{26, kNaN}, Case{2, kNaN}, Case{23, kInf}, Case{29, kInf}, Case{25, -kInf},
                          Case{15, kNaN}, Case{27, 1e30f}}) {
        ReverbEffect poisoned(nullptr), fresh(nullptr);
        TestSignal warmUp(7);
        ASSERT_TRUE(renderIsSane(poisoned, warmUp, 3));
        poisoned.setParameter(c.index, c.value);
        ASSERT_TRUE(renderIsSane(poisoned, warmUp, 1));
        poisoned.setParameter(c.index, kParameterTable[c.index].initValue);

        EXPECT_TRUE(sameOutputs(poisoned, fresh, 99, 4)) << "index " << c.index << " value " << c.value;
    }
}

TEST(Processing, TheCombBankIsBypassedWithoutLinesWithoutAbsorptionOrSwitchedOff) {
    struct Case {
        std::int32_t index;
        float value;
    };
    for (const Case& c : {Case{0, 0.04f}, Case{0, 0.0f}, Case{1, 0.0f}, Case{1, -0.5f}}) {
        ReverbEffect bypassed(nullptr), switchedOff(nullptr);
        bypassed.setParameter(c.index, c.value);
        switchedOff.setParameter(c.index, c.value);
        switchedOff.setParameter(kCombsSwitch, 0.0f);
        EXPECT_TRUE(sameOutputs(bypassed, switchedOff, 5, 3)) << "index " << c.index << " value " << c.value;
    }
}

TEST(Processing, EachSwitchChangesTheSoundAndTheTapsMakeItStereo) {
    auto render = [](ReverbEffect& effect) {
        TestSignal signal(11);
        StereoBlock block(kFrames);
        for (int b = 0; b < 8; ++b) {
            signal.fill(block);
            effect.processReplacing(block.inputs(), block.outputs(), kFrames);
        }
        return block;
    };
    ReverbEffect reference(nullptr);
    const StereoBlock full = render(reference);
    EXPECT_EQ(full.out1, full.out2) << "all taps at 0: mono";
    for (std::int32_t index : {kFilterSwitch, kReflectionsSwitch, kTankSwitch, kCombsSwitch}) {
        ReverbEffect effect(nullptr);
        effect.setParameter(index, 0.0f);
        EXPECT_NE(render(effect).out1, full.out1) << "switch " << index;
    }
    ReverbEffect stereo(nullptr);
    stereo.setParameter(36, 0.3f);
    stereo.setParameter(43, 0.7f);
    const StereoBlock wide = render(stereo);
    EXPECT_NE(wide.out1, wide.out2);
}

TEST(Processing, MainsOffClearsTheSignalSoTheReverbStartsAgainFromSilence) {
    // With Colour at 1 the diffusers' inner lowpasses (which mainsOff leaves alone)
    // forget their state at the first sample, so a cleared reverb is a fresh one.
    ReverbEffect used(nullptr), fresh(nullptr);
    used.setParameter(51, 1.0f);
    fresh.setParameter(51, 1.0f);
    TestSignal warmUp(1);
    ASSERT_TRUE(renderIsSane(used, warmUp, 5));
    used.mainsOff();
    EXPECT_TRUE(sameOutputs(used, fresh, 2, 3));
}

}  // namespace
