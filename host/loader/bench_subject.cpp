#include "host/loader/bench_subject.h"

#include <algorithm>

#include "host/audio/noise_generator.h"
#include "host/loader/thread_cpu_clock.h"

namespace {

constexpr float kNoiseLevel = 0.5f;  // well below full scale: no plug-in is driven into clipping

}  // namespace

BenchSubject::BenchSubject(AEffect& effect, std::int32_t blockFrames, std::size_t noiseFrames)
    : blockFrames(blockFrames), processor(effect, blockFrames) {
    // At least one block, so that every block is a slice of the ring without wrapping.
    const std::size_t frames = std::max(noiseFrames, static_cast<std::size_t>(blockFrames));
    NoiseGenerator noise;
    noiseLeft.resize(frames);
    noiseRight.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        noiseLeft[i] = kNoiseLevel * noise.next();
        noiseRight[i] = kNoiseLevel * noise.next();
    }
}

double BenchSubject::timeRound(std::uint64_t totalFrames) {
    const auto block = static_cast<std::uint64_t>(blockFrames);
    const double started = threadCpuSeconds();
    for (std::uint64_t done = 0; done < totalFrames; done += block) {
        const auto frames = static_cast<std::int32_t>(std::min(block, totalFrames - done));
        if (noisePosition + static_cast<std::size_t>(frames) > noiseLeft.size()) noisePosition = 0;
        processor.process(noiseLeft.data() + noisePosition, noiseRight.data() + noisePosition, frames);
        noisePosition += static_cast<std::size_t>(frames);
    }
    return threadCpuSeconds() - started;
}
