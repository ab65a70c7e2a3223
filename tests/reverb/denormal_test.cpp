// Hosts do not always set flush-to-zero. With it and denormals-are-zero off,
// the SSE status flags record every operation that read a subnormal operand
// (DE) or rounded a result into the subnormal range (UE): clear through a loud
// burst and the minute of silence after it, the tail's decay to the floor
// included, the engine's recursive stages never pay for subnormal arithmetic,
// as the 1.0e-7 substitute for silence keeps their feedback in the normal range.
//
// The state-variable filter is the exception, and left out here: its band
// state decays towards zero under the constant input of a silence and, with
// some settings, goes on in subnormal values. Setting them to zero would change
// outputs of subnormal size that the reference comparison pins to the bit;
// bench/denormal_bench shows what they cost.
#include <gtest/gtest.h>

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>

#include <cstdint>

#include "tests/reverb/reverb_test_support.h"
#include "vst2/reverb_effect.h"

namespace {

constexpr unsigned kDenormalOperandFlag = 0x0002;  // DE
constexpr unsigned kUnderflowFlag = 0x0010;        // UE
constexpr unsigned kAllStatusFlags = 0x003F;
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

// Runs with FTZ and DAZ off and the status flags clear; answers the flags raised.
class SubnormalWatch {
public:
    SubnormalWatch() : saved(_mm_getcsr()) {
        _mm_setcsr(saved & ~(kFlushToZero | kDenormalsAreZero | kAllStatusFlags));
    }
    SubnormalWatch(const SubnormalWatch&) = delete;
    SubnormalWatch& operator=(const SubnormalWatch&) = delete;
    ~SubnormalWatch() { _mm_setcsr(saved); }
    unsigned raised() const { return _mm_getcsr() & (kDenormalOperandFlag | kUnderflowFlag); }

private:
    unsigned saved;
};

struct StageSet {
    const char* name;
    bool reflections, tank, combs;
};

TEST(Denormals, RecursiveStagesStayOutOfTheSubnormalRangeInBurstAndMinuteOfSilence) {
    // The recursive stages together, each alone, and none (diffusion and output taps always run).
    const StageSet stageSets[] = {
        {"reflections, tank and combs", true, true, true},
        {"early reflections only", true, false, false},
        {"tank only", false, true, false},
        {"comb bank only", false, false, true},
        {"no switchable stage", false, false, false},
    };
    constexpr std::int32_t kBlockFrames = 512;
    constexpr std::int32_t kBurstBlocks = 86;      // 1 s at 44.1 kHz
    constexpr std::int32_t kSilenceBlocks = 5168;  // 60 s
    for (std::int32_t program = 0; program < 2; ++program) {
        for (const StageSet& stages : stageSets) {
            ReverbEffect effect(nullptr);
            effect.setProgram(program);
            effect.setParameter(kReflectionsSwitch, stages.reflections ? 1.0f : 0.0f);
            effect.setParameter(kTankSwitch, stages.tank ? 1.0f : 0.0f);
            effect.setParameter(kCombsSwitch, stages.combs ? 1.0f : 0.0f);
            effect.setParameter(kFilterSwitch, 0.0f);
            StereoBlock block(kBlockFrames);
            TestSignal noise;
            unsigned burstFlags = 0;
            unsigned silenceFlags = 0;
            {
                const SubnormalWatch watch;
                for (std::int32_t b = 0; b < kBurstBlocks; ++b) {
                    noise.fill(block);
                    effect.processReplacing(block.inputs(), block.outputs(), kBlockFrames);
                }
                burstFlags = watch.raised();
            }
            block = StereoBlock(kBlockFrames);
            {
                const SubnormalWatch watch;
                for (std::int32_t b = 0; b < kSilenceBlocks; ++b)
                    effect.processReplacing(block.inputs(), block.outputs(), kBlockFrames);
                silenceFlags = watch.raised();
            }
            EXPECT_EQ(burstFlags, 0u) << "program " << program << ", " << stages.name << ": flags 0x" << std::hex
                                      << burstFlags << " in the burst";
            EXPECT_EQ(silenceFlags, 0u) << "program " << program << ", " << stages.name << ": flags 0x" << std::hex
                                        << silenceFlags << " in the silence";
        }
    }
}

// The watch itself: a subnormal product raises UE, reading one raises DE.
TEST(Denormals, TheWatchSeesSubnormalArithmetic) {
    volatile float tiny = 1.0e-30f;
    volatile float product = 0.0f;
    unsigned flags = 0;
    {
        const SubnormalWatch watch;
        product = tiny * 1.0e-10f;
        product = product * 3.0f;
        flags = watch.raised();
    }
    EXPECT_EQ(flags, kDenormalOperandFlag | kUnderflowFlag);
}

}  // namespace
#endif
