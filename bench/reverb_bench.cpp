// Times ReverbEffect::processReplacing in blocks of 512 and of 64 frames at
// 44.1 kHz for both factory programs. realtime_factor: seconds of audio
// rendered per second of CPU time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "vst2/reverb_effect.h"

namespace {

constexpr double kSampleRate = 44100.0;

void processReplacing(benchmark::State& state) {
    const std::int32_t blockFrames = static_cast<std::int32_t>(state.range(1));
    ReverbEffect effect(nullptr);
    effect.setProgram(static_cast<std::int32_t>(state.range(0)));
    std::vector<float> in1(blockFrames), in2(blockFrames), out1(blockFrames), out2(blockFrames);
    std::uint32_t noise = 1u;
    for (std::int32_t i = 0; i < blockFrames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        in1[i] = static_cast<float>(static_cast<std::int32_t>(noise >> 8) - (1 << 23)) / static_cast<float>(1 << 24);
        in2[i] = -0.5f * in1[i];
    }
    float* inputs[2] = {in1.data(), in2.data()};
    float* outputs[2] = {out1.data(), out2.data()};
    for (auto _ : state) {
        effect.processReplacing(inputs, outputs, blockFrames);
        benchmark::DoNotOptimize(out1.data());
        benchmark::ClobberMemory();
    }
    const double framesDone = static_cast<double>(state.iterations()) * blockFrames;
    state.counters["realtime_factor"] = benchmark::Counter(framesDone / kSampleRate, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(static_cast<std::int64_t>(framesDone));
}

}  // namespace

BENCHMARK(processReplacing)
    ->ArgNames({"program", "block"})
    ->ArgsProduct({{0, 1}, {512, 64}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
