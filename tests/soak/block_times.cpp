#include "tests/soak/block_times.h"

#include <cmath>

namespace {

constexpr double kBucketRatio = 1.02;

int bucketOf(std::int64_t nanoseconds) {
    if (nanoseconds <= 1) return 0;
    return static_cast<int>(std::log(static_cast<double>(nanoseconds)) / std::log(kBucketRatio));
}

}  // namespace

void BlockTimes::record(std::int64_t nanoseconds) {
    const int bucket = bucketOf(nanoseconds);
    ++histogram[static_cast<std::size_t>(bucket < kBuckets ? bucket : kBuckets - 1)];
    ++blocks;
    if (nanoseconds > worst) worst = nanoseconds;
}

std::int64_t BlockTimes::medianNanoseconds() const {
    std::uint64_t seen = 0;
    for (int bucket = 0; bucket < kBuckets; ++bucket) {
        seen += histogram[static_cast<std::size_t>(bucket)];
        if (2 * seen >= blocks && blocks > 0) return static_cast<std::int64_t>(std::pow(kBucketRatio, bucket));
    }
    return 0;
}
