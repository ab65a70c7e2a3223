// Processing must not allocate: this test program counts every global
// operator new while the window is open.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed)) allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* memory) noexcept {
    if (memory != nullptr && countingAllocations.load(std::memory_order_relaxed))
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    std::free(memory);
}
void operator delete[](void* memory) noexcept { ::operator delete(memory); }
void operator delete(void* memory, std::size_t) noexcept { ::operator delete(memory); }
void operator delete[](void* memory, std::size_t) noexcept { ::operator delete(memory); }

namespace {

// Counts the allocations and frees made by `work`.
template <typename Work>
long allocationsDuring(Work work) {
    allocationCount = 0;
    countingAllocations = true;
    work();
    countingAllocations = false;
    return allocationCount;
}

TEST(RealTime, TheCounterSeesAnAllocation) {
    static int* volatile sink;  // volatile: the compiler may not elide the pair
    EXPECT_EQ(allocationsDuring([] {
                  sink = new int(3);
                  delete sink;
              }),
              2);
}

TEST(RealTime, ProcessingAndParameterChangesNeverAllocate) {
    ReverbEffect effect(nullptr);
    StereoBlock block(512), odd(37);
    TestSignal signal;
    signal.fill(block);
    signal.fill(odd);
    const long count = allocationsDuring([&] {
        for (std::int32_t program : {0, 1}) {
            effect.setProgram(program);
            for (int b = 0; b < 20; ++b) {
                effect.setParameter(b % kParameterCount, 0.3f);
                effect.processReplacing(block.inputs(), block.outputs(), 512);
                effect.process(block.inputs(), block.outputs(), 512);
                effect.processReplacing(odd.inputs(), odd.outputs(), 37);
            }
            effect.setParameter(26, std::numeric_limits<float>::quiet_NaN());  // the recovery path too
            effect.processReplacing(block.inputs(), block.outputs(), 512);
            effect.setParameter(26, 0.5f);
            effect.mainsOff();
        }
    });
    EXPECT_EQ(count, 0);
}

}  // namespace
