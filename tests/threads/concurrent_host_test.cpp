// A host's threads at once, through the exported entry: the audio thread
// processes without pause while another thread automates parameters with any
// value, switches and renames programs and suspends and resumes the plug-in,
// and a third idles the editor. Built natively and with ThreadSanitizer
// (preset tsan), which reports any data race between them.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/fuzz/output_check.h"
#include "tests/fuzz/parent_window.h"
#include "tests/fuzz/roomplate_entry_point.h"

namespace {

// How much each thread does before the test stops them all; the deadline only
// ends a run in which some thread stalls, and then the counts fail.
constexpr long kAudioBlocks = 300;
constexpr long kControlChanges = 3000;
constexpr long kEditorIdles = 60;  // three openings of the editor
constexpr auto kDeadline = std::chrono::seconds(120);
constexpr std::int32_t kMaxBlock = 1024;

std::atomic<long> automationCalls{0};

VstIntPtr VSTCALLBACK countingHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterAutomate) automationCalls.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

AEffect* newInstance() { return VSTPluginMain(countingHost); }
VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// Two channels in and out, sized for the largest block.
struct Buffers {
    std::vector<float> in1 = std::vector<float>(kMaxBlock), in2 = std::vector<float>(kMaxBlock);
    std::vector<float> out1 = std::vector<float>(kMaxBlock), out2 = std::vector<float>(kMaxBlock);
    float* inputs[2] = {in1.data(), in2.data()};
    float* outputs[2] = {out1.data(), out2.data()};
};

// The audio thread: blocks of 1 … 1024 frames of noise with the odd
// non-finite or huge sample, alternately replacing and adding. Answers the
// first broken sample, or "".
struct AudioLoop {
    AEffect* effect;
    const std::atomic<bool>& stop;
    std::atomic<long> blocks{0};  // read by the test's thread while this one runs
    std::string failure{};

    void operator()() {
        std::mt19937 random(1);
        std::uniform_int_distribution<std::int32_t> blockFrames(1, kMaxBlock);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        constexpr std::array<float, 4> kWild{std::numeric_limits<float>::quiet_NaN(),
                                             std::numeric_limits<float>::infinity(), 1.0e30f, -1.0e30f};
        Buffers buffers;
        for (long block = 0; !stop.load(std::memory_order_relaxed); ++block) {
            const std::int32_t frames = blockFrames(random);
            for (std::int32_t i = 0; i < frames; ++i) {
                buffers.in1[i] = noise(random);
                buffers.in2[i] = noise(random);
            }
            if (block % 7 == 3) buffers.in1[frames / 2] = kWild[(block / 7) % kWild.size()];
            const bool replacing = block % 2 == 0;
            std::fill(buffers.out1.begin(), buffers.out1.end(), 0.0f);
            std::fill(buffers.out2.begin(), buffers.out2.end(), 0.0f);
            (replacing ? effect->processReplacing : effect->process)(effect, buffers.inputs, buffers.outputs, frames);
            for (int channel = 0; channel < 2 && failure.empty(); ++channel)
                failure = checkChannel(buffers.outputs[channel], frames, channel);
            blocks.store(block + 1, std::memory_order_relaxed);
        }
    }
};

// The host's other thread: automation with any value, program changes
// (one of them out of range), renames, suspend and resume.
struct ControlLoop {
    AEffect* effect;
    const std::atomic<bool>& stop;
    std::atomic<long> changes{0};

    void operator()() {
        std::mt19937 random(2);
        std::uniform_int_distribution<std::int32_t> action(0, 9);
        std::uniform_int_distribution<std::int32_t> index(-2, 60);
        std::uniform_real_distribution<float> value(-0.5f, 1.5f);
        constexpr std::array<float, 8> kExtremes{std::numeric_limits<float>::quiet_NaN(),
                                                 std::numeric_limits<float>::infinity(),
                                                 -std::numeric_limits<float>::infinity(),
                                                 std::numeric_limits<float>::max(),
                                                 std::numeric_limits<float>::denorm_min(),
                                                 -0.0f,
                                                 0.0f,
                                                 1.0f};
        char name[64];
        for (long change = 0; !stop.load(std::memory_order_relaxed); ++change) {
            switch (action(random)) {
                case 0: dispatch(effect, effSetProgram, 0, change % 3); break;  // 2 is out of range
                case 1:
                    std::snprintf(name, sizeof name, "Take %ld of a long session name", change);
                    dispatch(effect, effSetProgramName, 0, 0, name);
                    dispatch(effect, effGetProgramName, 0, 0, name);
                    break;
                case 2:
                    dispatch(effect, effMainsChanged, 0, 0);
                    dispatch(effect, effMainsChanged, 0, 1);
                    break;
                case 3: effect->setParameter(effect, index(random), kExtremes[change % kExtremes.size()]); break;
                default: {
                    const std::int32_t i = index(random);
                    effect->setParameter(effect, i, value(random));
                    effect->getParameter(effect, i);
                }
            }
            changes.store(change + 1, std::memory_order_relaxed);
        }
    }
};

// The window thread. With a window source (see parent_window.h) and an
// editor it opens the editor in a window, idles it and closes it again, over
// and over; otherwise it sends the editor requests without a window, which
// must do no harm. Between idles it turns a knob as a user does: a parameter
// change from this thread, beside the host's automation on the other.
struct EditorLoop {
    AEffect* effect;
    const std::atomic<bool>& stop;
    ParentWindowSource* windows;
    std::atomic<long> idles{0};
    std::atomic<long> opens{0};  // editor opens that answered success

    void operator()() {
        const bool withEditor = windows != nullptr && (effect->flags & effFlagsHasEditor) != 0;
        while (!stop.load(std::memory_order_relaxed)) {
            ERect* rect = nullptr;
            dispatch(effect, effEditGetRect, 0, 0, &rect);
            void* parent = withEditor ? windows->createParent() : nullptr;
            if (withEditor && dispatch(effect, effEditOpen, 0, 0, parent) != 0) ++opens;
            for (int i = 0; i < 20 && !stop.load(std::memory_order_relaxed); ++i, ++idles) {
                effect->setParameter(effect, 26, static_cast<float>(i) / 20.0f);  // WetOutput
                dispatch(effect, effEditIdle);
                if (withEditor) windows->pumpMessages();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (withEditor) {
                dispatch(effect, effEditClose);
                windows->destroyParent(parent);
            }
        }
    }
};

TEST(ConcurrentHost, AudioKeepsItsLimitsWhileOtherThreadsChangeEverything) {
    AEffect* effect = newInstance();
    ASSERT_NE(effect, nullptr);
    dispatch(effect, effOpen);
    dispatch(effect, effMainsChanged, 0, 1);

    std::atomic<bool> stop{false};
    AudioLoop audio{effect, stop};
    ControlLoop control{effect, stop};
    EditorLoop editor{effect, stop, defaultParentWindows()};
    std::thread audioThread(std::ref(audio)), controlThread(std::ref(control)), editorThread(std::ref(editor));
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while ((audio.blocks < kAudioBlocks || control.changes < kControlChanges || editor.idles < kEditorIdles) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // polls, leaving the cores to the three
    stop = true;
    audioThread.join();
    controlThread.join();
    editorThread.join();

    EXPECT_EQ(audio.failure, "");
    EXPECT_GE(audio.blocks.load(), kAudioBlocks);  // all three really ran side by side, none stalled
    EXPECT_GE(control.changes.load(), kControlChanges);
    EXPECT_GE(editor.idles.load(), kEditorIdles);
    if ((effect->flags & effFlagsHasEditor) != 0) {
        EXPECT_GT(editor.opens.load(), 0);  // the editor really was open
    }
    EXPECT_EQ(automationCalls.load(), 0);  // only the editor's controls automate
    const VstIntPtr program = dispatch(effect, effGetProgram);
    EXPECT_TRUE(program == 0 || program == 1) << program;
    EXPECT_EQ(dispatch(effect, effClose), 1);
}

// What `blocks` blocks of a fixed signal through "Dattorro" give, summed bit by bit.
std::vector<float> renderDattorro(AEffect* effect, int blocks) {
    dispatch(effect, effSetProgram, 0, 1);
    Buffers buffers;
    std::vector<float> rendered;
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (int b = 0; b < blocks; ++b) {
        for (std::int32_t i = 0; i < 256; ++i) buffers.in1[i] = buffers.in2[i] = noise(random);
        effect->processReplacing(effect, buffers.inputs, buffers.outputs, 256);
        rendered.insert(rendered.end(), buffers.out1.begin(), buffers.out1.begin() + 256);
        rendered.insert(rendered.end(), buffers.out2.begin(), buffers.out2.begin() + 256);
    }
    return rendered;
}

// Instances share nothing but process-wide values: one rendering on its own
// thread beside another that is being changed all the time sounds exactly as
// it does alone.
TEST(ConcurrentHost, AnInstanceBesideABusyOneSoundsAsItDoesAlone) {
    constexpr int kBlocks = 400;
    AEffect* alone = newInstance();
    ASSERT_NE(alone, nullptr);
    const std::vector<float> expected = renderDattorro(alone, kBlocks);
    dispatch(alone, effClose);

    AEffect* busy = newInstance();
    AEffect* quiet = newInstance();
    ASSERT_NE(busy, nullptr);
    ASSERT_NE(quiet, nullptr);
    std::atomic<bool> stop{false};
    AudioLoop busyAudio{busy, stop};
    ControlLoop busyControl{busy, stop};
    std::vector<float> rendered;
    std::thread busyAudioThread(std::ref(busyAudio)), busyControlThread(std::ref(busyControl));
    std::thread quietThread([&] { rendered = renderDattorro(quiet, kBlocks); });
    quietThread.join();
    stop = true;
    busyAudioThread.join();
    busyControlThread.join();

    EXPECT_EQ(busyAudio.failure, "");
    ASSERT_EQ(rendered.size(), expected.size());
    EXPECT_EQ(std::memcmp(rendered.data(), expected.data(), expected.size() * sizeof(float)), 0);
    dispatch(busy, effClose);
    dispatch(quiet, effClose);
}

}  // namespace
