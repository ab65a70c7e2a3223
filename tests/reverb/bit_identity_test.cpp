// The engine's output is the same to the bit in every build (native, 32- and
// 64-bit Windows): single precision in a fixed order, no FMA contraction,
// transcendental results rounded to float once. These hashes pin it.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/reverb/reference_engine.h"
#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

// FNV-1a over the bits of every output sample of `blocks` blocks of 512 frames
// of the deterministic test signal, with a silent stretch and a loud burst.
template <typename Engine>
std::uint64_t outputHash(Engine& effect, int blocks) {
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](float sample) {
        const std::uint32_t bits = bitsOf(sample);
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= (bits >> (8 * byte)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    };
    TestSignal signal(2024);
    for (int b = 0; b < blocks; ++b) {
        StereoBlock block(512);
        if (b % 50 < 40) signal.fill(block);  // then 10 blocks of silence: the tail
        if (b % 50 == 7)
            for (float& v : block.in1) v *= 8.0f;  // a burst that reaches the limit
        effect.processReplacing(block.inputs(), block.outputs(), 512);
        for (int i = 0; i < 512; ++i) {
            mix(block.out1[i]);
            mix(block.out2[i]);
        }
    }
    return hash;
}

struct Setting {
    std::int32_t index;
    float value;
};

// Expected hashes: computed by the native gcc 12 (x86-64) build and found
// identical in the i686-w64-mingw32 build under Wine before they were stored.
// A change that alters them changes the sound: it needs a reason.
TEST(BitIdentity, OutputHashesOfBothProgramsAndAStereoRoom) {
    struct Case {
        const char* name;
        std::int32_t program;
        std::vector<Setting> settings;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {"Init", 0, {}, 0xc9f76bccfc77ab7dull},
        {"Dattorro", 1, {}, 0x9b4b9a176d6ba5edull},
        {"Dattorro, stereo taps, a larger room, feedback",
         1,
         {{36, 0.11f},
          {37, 0.23f},
          {40, 0.5f},
          {42, 0.07f},
          {44, 0.31f},
          {47, 0.9f},
          {30, 0.4f},
          {31, 0.7f},
          {32, 0.6f},
          {35, 0.8f},
          {52, 0.3f},
          {1, 0.6f},
          {13, 0.95f},
          {21, 0.7f}},
         0x6d2ac51215c1c269ull},
    };
    for (const Case& c : cases) {
        ReverbEffect effect(nullptr);
        effect.setProgram(c.program);
        for (const Setting& s : c.settings) effect.setParameter(s.index, s.value);
        const std::uint64_t hash = outputHash(effect, 300);
        char text[32];
        std::snprintf(text, sizeof text, "0x%016llxull", static_cast<unsigned long long>(hash));
        EXPECT_EQ(hash, c.expected) << c.name << ": " << text;

        // The frozen reference engine, which the other comparisons trust, renders the same.
        ReferenceEngine reference;
        reference.loadProgram(c.program);
        for (const Setting& s : c.settings) reference.setParameter(s.index, s.value);
        EXPECT_EQ(outputHash(reference, 300), c.expected) << c.name << " (reference engine)";
    }
}

}  // namespace
