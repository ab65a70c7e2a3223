#include "host/loader/bench_subject.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/host/fake_effect.h"

namespace {

TEST(BenchSubject, ProcessesTheWholeLengthInBlocksOfNoise) {
    FakeEffect fake;
    BenchSubject subject(fake.record, 256, 600);  // a ring shorter than the round: it wraps
    subject.timeRound(1000);
    const std::vector<std::int32_t> expected = {256, 256, 256, 232};
    EXPECT_EQ(fake.blockFrames, expected);
    // The last block's input is noise, not silence, and within the level the bench uses.
    double energy = 0.0;
    for (std::size_t channel = 0; channel < 2; ++channel)
        for (std::int32_t i = 0; i < 232; ++i) {
            const float sample = fake.lastInputs[channel][i];
            ASSERT_LE(std::fabs(sample), 0.5f);
            energy += sample * sample;
        }
    EXPECT_GT(energy / (2 * 232), 0.01);
    EXPECT_NE(fake.lastInputs[0][0], fake.lastInputs[1][0]) << "the two inputs carry different noise";
}

}  // namespace
