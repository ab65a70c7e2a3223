// Parameter values on their way from one thread (automation, programs,
// states, an editor) to the audio thread, which applies them before its next
// block: a fixed ring for one producer and one consumer, without locks or
// allocation. A value that finds the ring full is dropped, as a host drops
// automation it cannot deliver in time.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

struct QueuedValue {
    std::int32_t index;
    float value;
};

class ValueQueue {
public:
    static constexpr std::size_t kCapacity = 1024;

    // The producer's thread. Answers false when the ring is full.
    bool push(QueuedValue entry) {
        const std::size_t tail = written.load(std::memory_order_relaxed);
        if (tail - read.load(std::memory_order_acquire) >= kCapacity) return false;
        ring[tail % kCapacity] = entry;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }
    // The audio thread. Hands every queued value to apply, oldest first.
    template <typename Apply>
    void drain(Apply apply) {
        const std::size_t tail = written.load(std::memory_order_acquire);
        std::size_t head = read.load(std::memory_order_relaxed);
        for (; head != tail; ++head) apply(ring[head % kCapacity]);
        read.store(head, std::memory_order_release);
    }

private:
    std::array<QueuedValue, kCapacity> ring{};
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> read{0};
};
