// The cost of silence with flush-to-zero and denormals-are-zero off, as some
// hosts leave them: a block of noise against a block of the minute of silence
// after it (the tail decaying to the floor), for each program with all
// stages, each switchable stage alone and none of them. Counters: CPU time
// in microseconds of one block of 512 frames at 44.1 kHz.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

#include "reverb/parameter_id.h"
#include "vst2/reverb_effect.h"

namespace {

constexpr std::int32_t kBlockFrames = 512;
constexpr std::int32_t kNoiseBlocks = 861;     // 10 s
constexpr std::int32_t kDecayBlocks = 861;     // the first 10 s of the silence
constexpr std::int32_t kSilenceBlocks = 5168;  // 60 s

void allowSubnormals() {
#if defined(__SSE2__) || defined(_M_X64)
    constexpr unsigned kFlushToZero = 0x8000;
    constexpr unsigned kDenormalsAreZero = 0x0040;
    _mm_setcsr(_mm_getcsr() & ~(kFlushToZero | kDenormalsAreZero));
#endif
}

struct StageSet {
    bool reflections, tank, combs, filter;
};
// Indexed by the benchmark's "stages" argument.
constexpr StageSet kStageSets[] = {
    {true, true, true, true},    {true, false, false, false}, {false, true, false, false},
    {false, false, true, false}, {false, false, false, true}, {false, false, false, false},
};
constexpr const char* kStageSetNames[] = {"all", "reflections", "tank", "combs", "filter", "none"};

class Workload {
public:
    explicit Workload(const benchmark::State& state)
        : effect(nullptr), in1(kBlockFrames), in2(kBlockFrames), out1(kBlockFrames), out2(kBlockFrames) {
        effect.setProgram(static_cast<std::int32_t>(state.range(0)));
        const StageSet& stages = kStageSets[state.range(1)];
        effect.setParameter(kReflectionsSwitch, stages.reflections ? 1.0f : 0.0f);
        effect.setParameter(kTankSwitch, stages.tank ? 1.0f : 0.0f);
        effect.setParameter(kCombsSwitch, stages.combs ? 1.0f : 0.0f);
        effect.setParameter(kFilterSwitch, stages.filter ? 1.0f : 0.0f);
        for (std::vector<float>& block : noiseBlocks) {
            block.resize(2 * kBlockFrames);
            for (float& sample : block) sample = nextNoise();
        }
    }
    // The next of kNoiseBlocksKept blocks of noise made at the start: none is made while timed.
    void fillNoise() {
        const std::vector<float>& block = noiseBlocks[nextNoiseBlock++ % kNoiseBlocksKept];
        std::copy_n(block.begin(), kBlockFrames, in1.begin());
        std::copy_n(block.begin() + kBlockFrames, kBlockFrames, in2.begin());
    }
    void fillSilence() {
        std::fill(in1.begin(), in1.end(), 0.0f);
        std::fill(in2.begin(), in2.end(), 0.0f);
    }
    void processBlock() {
        float* inputs[2] = {in1.data(), in2.data()};
        float* outputs[2] = {out1.data(), out2.data()};
        effect.processReplacing(inputs, outputs, kBlockFrames);
        benchmark::DoNotOptimize(out1.data());
        benchmark::ClobberMemory();
    }

private:
    float nextNoise() {
        noise = noise * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(noise >> 8) - (1 << 23)) / static_cast<float>(1 << 24);
    }

    static constexpr std::size_t kNoiseBlocksKept = 16;

    ReverbEffect effect;
    std::vector<float> in1, in2, out1, out2;
    std::uint32_t noise = 1u;
    std::vector<float> noiseBlocks[kNoiseBlocksKept];
    std::size_t nextNoiseBlock = 0;
};

// CPU time of this thread: the machine is shared, so wall-clock time would count other work.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1.0e-9 * static_cast<double>(now.tv_nsec);
}

// Seconds of CPU for `blocks` blocks of what the workload's input holds.
double timeBlocks(Workload& workload, std::int32_t blocks, bool noise) {
    const double start = threadSeconds();
    for (std::int32_t b = 0; b < blocks; ++b) {
        if (noise) workload.fillNoise();
        workload.processBlock();
    }
    return threadSeconds() - start;
}

// One iteration: 10 s of noise, then the minute of silence after it, timed
// apart in the same iteration so that both meet the same load on the machine:
// the first 10 s of silence (the tail decaying) and the 50 s after (the floor).
void silenceAgainstNoise(benchmark::State& state) {
    allowSubnormals();
    double noiseSeconds = 0.0;
    double decaySeconds = 0.0;
    double floorSeconds = 0.0;
    for (auto _ : state) {
        Workload workload(state);
        const double noise = timeBlocks(workload, kNoiseBlocks, true);
        workload.fillSilence();
        const double decay = timeBlocks(workload, kDecayBlocks, false);
        const double floor = timeBlocks(workload, kSilenceBlocks - kDecayBlocks, false);
        state.SetIterationTime(noise + decay + floor);
        noiseSeconds += noise;
        decaySeconds += decay;
        floorSeconds += floor;
    }
    const auto perBlock = [&](double seconds, std::int32_t blocks) {
        return benchmark::Counter(1.0e6 * seconds / (static_cast<double>(state.iterations()) * blocks));
    };
    state.SetLabel(kStageSetNames[state.range(1)]);
    state.counters["noise_us"] = perBlock(noiseSeconds, kNoiseBlocks);
    state.counters["decay_us"] = perBlock(decaySeconds, kDecayBlocks);
    state.counters["floor_us"] = perBlock(floorSeconds, kSilenceBlocks - kDecayBlocks);
    state.counters["silence_vs_noise"] =
        ((decaySeconds + floorSeconds) / kSilenceBlocks) / (noiseSeconds / kNoiseBlocks);
}

}  // namespace

BENCHMARK(silenceAgainstNoise)
    ->ArgNames({"program", "stages"})
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4, 5}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
