// The times of one format's process calls, kept without allocating: a
// histogram of 2 % wide buckets for the median, and the worst exactly.
//
// Threads: record on the audio thread; the rest once the audio thread has ended.
#pragma once

#include <array>
#include <cstdint>

class BlockTimes {
public:
    void record(std::int64_t nanoseconds);

    std::uint64_t count() const { return blocks; }
    std::int64_t worstNanoseconds() const { return worst; }
    // The median to the width of its bucket (its lower edge).
    std::int64_t medianNanoseconds() const;

private:
    static constexpr int kBuckets = 1200;  // 2 % apart from 1 ns: up to about 20 minutes

    std::array<std::uint64_t, kBuckets> histogram{};
    std::uint64_t blocks = 0;
    std::int64_t worst = 0;
};
