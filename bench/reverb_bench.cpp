// Times ReverbEffect::processReplacing in blocks of 512 frames at 44.1 kHz for
// both factory programs. realtime_factor: seconds of audio rendered per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "reverb/reverb_effect.h"

namespace {

constexpr std::int32_t kBlockFrames = 512;
constexpr double kSampleRate = 44100.0;

void processReplacing(benchmark::State& state) {
    ReverbEffect effect(nullptr);
    effect.setProgram(static_cast<std::int32_t>(state.range(0)));
    std::vector<float> in1(kBlockFrames), in2(kBlockFrames), out1(kBlockFrames), out2(kBlockFrames);
    std::uint32_t noise = 1u;
    for (std::int32_t i = 0; i < kBlockFrames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        in1[i] = static_cast<float>(static_cast<std::int32_t>(noise >> 8) - (1 << 23)) / static_cast<float>(1 << 24);
        in2[i] = -0.5f * in1[i];
    }
    float* inputs[2] = {in1.data(), in2.data()};
    float* outputs[2] = {out1.data(), out2.data()};
    for (auto _ : state) {
        effect.processReplacing(inputs, outputs, kBlockFrames);
        benchmark::DoNotOptimize(out1.data());
        benchmark::ClobberMemory();
    }
    const double framesDone = static_cast<double>(state.iterations()) * kBlockFrames;
    state.counters["realtime_factor"] = benchmark::Counter(framesDone / kSampleRate, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(static_cast<std::int64_t>(framesDone));
}

}  // namespace

BENCHMARK(processReplacing)->ArgName("program")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
