// The engine renders exactly what the straightforward per-pair engine
// (ReferenceEngine) renders, sample by sample, to the bit: for both programs,
// every switch, comb counts 0, 1, 7 and 20, odd and tiny blocks, stereo taps,
// random settings held through a call and changed between calls, adding and
// replacing, mainsOff, the runaway recovery, and gains changed during a call.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/reverb/reference_engine.h"
#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

// A reproducible source of parameter values, integer arithmetic only.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state(seed) {}
    std::uint32_t next() {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
    float unit() { return static_cast<float>(next() & 0xFFFFFu) / static_cast<float>(0xFFFFFu); }  // 0 … 1
    std::int32_t below(std::int32_t n) { return static_cast<std::int32_t>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t state;
};

// The engine under test and the reference, driven alike.
struct Pair {
    ReverbEffect effect{nullptr};
    ReferenceEngine reference;
    TestSignal signal{77};

    void set(std::int32_t index, float value) {
        effect.setParameter(index, value);
        reference.setParameter(index, value);
    }
    // The records are edit buffers, so the reference takes the values the program now holds.
    void program(std::int32_t number) {
        effect.setProgram(number);
        for (std::int32_t index : kProgramLoadOrder) reference.setParameter(index, effect.getParameter(index));
    }
    void mainsOff() {
        effect.mainsOff();
        reference.mainsOff();
    }
    // One call of `frames` frames on both; the first differing sample, if any.
    ::testing::AssertionResult call(std::int32_t frames, bool adding = false, float inputGain = 1.0f) {
        StereoBlock a(frames, adding ? 0.25f : 3.0f), b(frames, adding ? 0.25f : 3.0f);
        signal.fill(a);
        for (float& v : a.in1) v *= inputGain;
        b.in1 = a.in1;
        b.in2 = a.in2;
        if (adding) {
            effect.process(a.inputs(), a.outputs(), frames);
            reference.process(b.inputs(), b.outputs(), frames);
        } else {
            effect.processReplacing(a.inputs(), a.outputs(), frames);
            reference.processReplacing(b.inputs(), b.outputs(), frames);
        }
        for (std::int32_t i = 0; i < frames; ++i) {
            if (bitsOf(a.out1[i]) != bitsOf(b.out1[i]) || bitsOf(a.out2[i]) != bitsOf(b.out2[i]))
                return ::testing::AssertionFailure()
                       << "frame " << i << " of " << frames << ": (" << a.out1[i] << ", " << a.out2[i]
                       << ") instead of (" << b.out1[i] << ", " << b.out2[i] << ")";
        }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult calls(int count, std::int32_t frames) {
        for (int c = 0; c < count; ++c) {
            ::testing::AssertionResult same = call(frames);
            if (!same) return same << " (call " << c << ")";
        }
        return ::testing::AssertionSuccess();
    }
};

// p0 whose floor(20 × p0) is the given count, away from rounding edges.
float combCountValue(std::int32_t lines) { return (static_cast<float>(lines) + 0.5f) / 20.0f; }

const std::int32_t kSwitches[] = {kFilterSwitch, kReflectionsSwitch, kTankSwitch, kCombsSwitch};

TEST(ReferenceComparison, ThePureSettingsSwitchesAndCombCounts) {
    struct Case {
        std::string name;
        std::int32_t program;
        std::vector<std::pair<std::int32_t, float>> settings;
    };
    std::vector<Case> cases = {{"Init", 0, {}}, {"Dattorro", 1, {}}};
    for (std::int32_t program : {0, 1}) {
        for (std::int32_t index : kSwitches)
            cases.push_back({"switch " + std::to_string(index) + " off", program, {{index, 0.0f}}});
        cases.push_back({"all off", program, {{53, 0.0f}, {54, 0.0f}, {55, 0.0f}, {56, 0.0f}}});
        for (std::int32_t lines : {0, 1, 7, 20})
            cases.push_back({std::to_string(lines) + " comb lines", program, {{0, combCountValue(lines)}}});
        cases.push_back({"no absorption", program, {{1, 0.0f}}});
        // Exact zeros into the comb bank from the start (see also below).
        cases.push_back({"bandwidth closed", program, {{2, 0.0f}}});
        cases.push_back({"absorption 1", program, {{1, 1.0f}}});
        cases.push_back({"stereo taps",
                         program,
                         {{36, 0.11f}, {37, 0.23f}, {38, 1.0f}, {40, 0.5f}, {42, 0.07f}, {44, 0.31f}, {47, 0.9f}}});
    }
    for (const Case& c : cases) {
        for (std::int32_t frames : {512, 64}) {
            Pair pair;
            pair.program(c.program);
            for (const auto& setting : c.settings) pair.set(setting.first, setting.second);
            EXPECT_TRUE(pair.calls(frames == 512 ? 60 : 300, frames))
                << c.name << ", program " << c.program << ", block " << frames;
        }
    }
}

// Signal, then exact zeros into the comb bank, which must leave its lines
// (full of the signal) alone, then signal again: with gainless diffusers of
// short delays, no tank, and a reflection level of 0 the diffused signal is
// exactly 0 once the diffusers' cells have emptied.
TEST(ReferenceComparison, ExactZerosBetweenSignalLeaveTheCombLinesAlone) {
    for (std::int32_t program : {0, 1}) {
        Pair pair;
        pair.program(program);
        for (const auto& setting : std::vector<std::pair<std::int32_t, float>>{
                 {kTankSwitch, 0.0f}, {11, 0.0f}, {12, 0.0f}, {51, 1.0f}, {3, 0.01f}, {4, 0.012f}, {5, 0.007f}})
            pair.set(setting.first, setting.second);
        for (float level : {0.1f, 0.0f, 0.1f, 0.0f, 0.3f}) {
            pair.set(29, level);
            for (std::int32_t frames : {512, 100, 64, 7}) ASSERT_TRUE(pair.calls(3, frames)) << "level " << level;
        }
    }
}

TEST(ReferenceComparison, OddAndTinyBlocksAddingAndReplacing) {
    for (std::int32_t program : {0, 1}) {
        Pair pair;
        pair.program(program);
        const std::int32_t sizes[] = {1, 2, 3, 5, 37, 63, 64, 65, 127, 511, 513, 1000, 4095, 4096};
        for (int round = 0; round < 12; ++round) {
            for (std::int32_t frames : sizes) {
                const bool adding = (round + frames) % 3 == 0;
                ASSERT_TRUE(pair.call(frames, adding)) << "program " << program << ", round " << round;
            }
        }
    }
}

// Random settings in 0 … 1 held through each call, a few or all of them changed
// between calls; now and then a switch flips, a program loads or mainsOff runs.
TEST(ReferenceComparison, RandomSettingsChangedBetweenCalls) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        Dice dice(seed);
        Pair pair;
        pair.program(static_cast<std::int32_t>(seed % 2));
        for (int call = 0; call < 120; ++call) {
            const std::int32_t kind = dice.below(10);
            if (kind == 0) {
                for (std::int32_t index = 0; index < kParameterCount; ++index) pair.set(index, dice.unit());
            } else if (kind < 7) {
                for (std::int32_t n = dice.below(4); n >= 0; --n) pair.set(dice.below(kParameterCount), dice.unit());
            } else if (kind == 7) {
                pair.set(kSwitches[dice.below(4)], static_cast<float>(dice.below(2)));
            } else if (kind == 8 && dice.below(4) == 0) {
                pair.mainsOff();
            } else if (kind == 8) {
                pair.program(dice.below(2));
            }
            const std::int32_t frames = dice.below(3) == 0 ? 1 + dice.below(700) : 512;
            ASSERT_TRUE(pair.call(frames, dice.below(5) == 0)) << "seed " << seed << ", call " << call;
        }
    }
}

// Values far outside 0 … 1 overload the engine; its recovery (a cleared state)
// must come at the same call and leave the same state as the reference's.
TEST(ReferenceComparison, WildValuesAndTheRunawayRecovery) {
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float kInf = std::numeric_limits<float>::infinity();
    const std::pair<std::int32_t, float> wild[] = {{26, kNaN}, {2, kNaN},   {23, kInf},  {29, kInf}, {25, -kInf},
                                                   {15, kNaN}, {27, 1e30f}, {1, 1.5f},   {24, 3.0f}, {52, 40.0f},
                                                   {0, -1.0f}, {0, 7.0f},   {13, -9.0f}, {7, 2.0f},  {36, 1.7f}};
    for (const auto& setting : wild) {
        Pair pair;
        ASSERT_TRUE(pair.calls(3, 512));
        pair.set(setting.first, setting.second);
        EXPECT_TRUE(pair.calls(6, 512)) << "index " << setting.first << " value " << setting.second;
        pair.set(setting.first, kParameterTable[setting.first].initValue);
        EXPECT_TRUE(pair.calls(4, 512)) << "index " << setting.first << " after " << setting.second;
    }
    Pair loud;
    EXPECT_TRUE(loud.call(512, false, 1e38f));
    EXPECT_TRUE(loud.calls(4, 512));
}

// Another thread's change during a call: the run-start hook stands in for
// that thread, deterministically. The hook comes at least every kRunPairs
// pairs, and a change made in it is heard from that very pair on, so a change
// made at any moment is heard within kRunPairs pairs.
struct MidCallChange {
    ReverbEffect* effect;
    std::int32_t changeAt;  // the first pair at or after which the "thread" changes the value
    std::int32_t index;
    float value;
    std::int32_t firedAt = -1;  // the pair at which the change was made
    std::vector<std::int32_t> runStarts;

    static void hook(void* context, std::int32_t firstPair) {
        MidCallChange& change = *static_cast<MidCallChange*>(context);
        change.runStarts.push_back(firstPair);
        if (change.firedAt < 0 && firstPair >= change.changeAt) {
            change.effect->setParameter(change.index, change.value);
            change.firedAt = firstPair;
        }
    }
};

TEST(ReferenceComparison, AChangeDuringACallIsHeardWithinThirtyTwoPairs) {
    constexpr std::int32_t kFrames = 4096;
    constexpr std::int32_t kPairs = kFrames / 2;
    struct Change {
        std::int32_t startIndex;  // set before the call, or -1
        float startValue;
        std::int32_t index;
        float value;
    };
    // Switching stages on as well as off: the tone filter of one run may go
    // beside the next run's lowpasses, or after them.
    const Change changes[] = {
        {-1, 0.0f, 26, 0.1f},
        {-1, 0.0f, 13, 0.2f},
        {-1, 0.0f, kTankSwitch, 0.0f},
        {-1, 0.0f, kFilterSwitch, 0.0f},
        {-1, 0.0f, 2, 0.3f},
        {-1, 0.0f, 11, 0.9f},
        {-1, 0.0f, kCombsSwitch, 0.0f},
        {-1, 0.0f, kReflectionsSwitch, 0.0f},
        {kFilterSwitch, 0.0f, kFilterSwitch, 1.0f},
        {kTankSwitch, 0.0f, kTankSwitch, 1.0f},
        {kDiffuserTime1, 0.0f, 26, 0.1f},  // a distance the lowpasses cannot run ahead of
    };
    std::int32_t changeAt = 100;
    for (const Change& step : changes) {
        const std::pair<std::int32_t, float> setting{step.index, step.value};
        changeAt = (changeAt * 7 + 13) % (kPairs - 64);  // a different moment for each
        ReverbEffect effect(nullptr), unchanged(nullptr);
        ReferenceEngine reference;
        if (step.startIndex >= 0) {
            effect.setParameter(step.startIndex, step.startValue);
            unchanged.setParameter(step.startIndex, step.startValue);
            reference.setParameter(step.startIndex, step.startValue);
        }
        MidCallChange change{&effect, changeAt, setting.first, setting.second, -1, {}};
        effect.getEngine().setRunStartHook(&MidCallChange::hook, &change);

        StereoBlock block(kFrames), same(kFrames), expected(kFrames);
        TestSignal(5).fill(block);
        same.in1 = expected.in1 = block.in1;
        same.in2 = expected.in2 = block.in2;
        effect.processReplacing(block.inputs(), block.outputs(), kFrames);
        unchanged.processReplacing(same.inputs(), same.outputs(), kFrames);

        ASSERT_FALSE(change.runStarts.empty());
        EXPECT_EQ(change.runStarts.front(), 0);
        for (std::size_t i = 1; i < change.runStarts.size(); ++i)
            EXPECT_LE(change.runStarts[i] - change.runStarts[i - 1], ReverbEngine::kRunPairs) << i;
        EXPECT_GT(change.runStarts.back() + ReverbEngine::kRunPairs, kPairs - 1) << "runs reach the last pair";
        ASSERT_GE(change.firedAt, changeAt);
        EXPECT_LT(change.firedAt, changeAt + ReverbEngine::kRunPairs);

        // The reference renders the pairs before the change with the old value, the rest with the new.
        const std::int32_t split = 2 * change.firedAt;
        float* inputs[2] = {expected.in1.data(), expected.in2.data()};
        float* outputs[2] = {expected.out1.data(), expected.out2.data()};
        reference.processReplacing(inputs, outputs, split);
        reference.setParameter(setting.first, setting.second);
        float* restIn[2] = {inputs[0] + split, inputs[1] + split};
        float* restOut[2] = {outputs[0] + split, outputs[1] + split};
        reference.processReplacing(restIn, restOut, kFrames - split);

        bool heard = false;
        for (std::int32_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(bitsOf(block.out1[i]), bitsOf(expected.out1[i])) << "index " << setting.first << " frame " << i;
            if (i < split)
                ASSERT_EQ(block.out1[i], same.out1[i]);
            else if (i < split + 2 * ReverbEngine::kRunPairs)
                heard = heard || block.out1[i] != same.out1[i];
        }
        EXPECT_TRUE(heard) << "index " << setting.first << ": the change is audible at once";
    }
}

}  // namespace
