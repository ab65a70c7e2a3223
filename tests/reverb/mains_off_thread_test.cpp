// effMainsChanged 0 may come from the host's thread while the audio thread is
// inside a block. Clearing the delay lines from there raced with the block
// (ThreadSanitizer found it); mainsOff now leaves the clearing to the audio
// thread's next block. These tests pin that the result is the same as an
// immediate clear and, run under ThreadSanitizer (preset tsan), that no race
// is left.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

constexpr std::int32_t kFrames = 256;

// Renders `blocks` blocks of the signal; answers whether every sample stayed within ±0.99.
bool render(ReverbEffect& effect, TestSignal& signal, int blocks, StereoBlock& block) {
    bool withinLimit = true;
    for (int b = 0; b < blocks; ++b) {
        signal.fill(block);
        effect.processReplacing(block.inputs(), block.outputs(), kFrames);
        for (std::int32_t i = 0; i < kFrames; ++i)
            withinLimit = withinLimit && std::fabs(block.out1[i]) <= 0.99f && std::fabs(block.out2[i]) <= 0.99f;
    }
    return withinLimit;
}

// With Colour at 1 the diffusers' inner lowpasses (which mainsOff leaves
// alone) forget their state at the first sample, so a cleared reverb sounds
// like a fresh one to the bit.
void expectSoundsFresh(ReverbEffect& used) {
    ReverbEffect fresh(nullptr);
    fresh.setParameter(51, 1.0f);
    StereoBlock usedBlock(kFrames), freshBlock(kFrames);
    TestSignal a(7), b(7);
    for (int block = 0; block < 3; ++block) {
        render(used, a, 1, usedBlock);
        render(fresh, b, 1, freshBlock);
        ASSERT_EQ(std::memcmp(usedBlock.out1.data(), freshBlock.out1.data(), kFrames * sizeof(float)), 0) << block;
        ASSERT_EQ(std::memcmp(usedBlock.out2.data(), freshBlock.out2.data(), kFrames * sizeof(float)), 0) << block;
    }
}

TEST(MainsOffAcrossThreads, TheBlockAfterMainsOffStartsFromSilenceEvenWithCallsInBetween) {
    ReverbEffect used(nullptr);
    used.setParameter(51, 1.0f);
    StereoBlock block(kFrames);
    TestSignal warmUp(1);
    render(used, warmUp, 5, block);
    used.mainsOff();
    used.mainsOff();              // twice is once
    used.setParameter(26, 0.5f);  // what a host does while suspended reaches the next block unchanged
    used.processReplacing(block.inputs(), block.outputs(), 0);  // nothing happens, the clear stays due
    expectSoundsFresh(used);
}

TEST(MainsOffAcrossThreads, MainsOffFromAnotherThreadWhileBlocksRenderIsSafeAndTakesEffect) {
    ReverbEffect effect(nullptr);
    effect.setParameter(51, 1.0f);
    std::atomic<bool> stop{false};
    std::atomic<long> clears{0};
    std::thread host([&] {
        while (!stop.load(std::memory_order_relaxed)) {
            effect.mainsOff();
            clears.fetch_add(1, std::memory_order_relaxed);
            std::this_thread::yield();
        }
    });
    StereoBlock block(kFrames);
    TestSignal signal(3);
    bool withinLimit = true;
    int blocks = 0;
    for (; blocks < 400 || clears.load(std::memory_order_relaxed) < 10; ++blocks)
        withinLimit = render(effect, signal, 1, block) && withinLimit;
    stop = true;
    host.join();
    EXPECT_TRUE(withinLimit);
    effect.mainsOff();
    expectSoundsFresh(effect);
}

}  // namespace
