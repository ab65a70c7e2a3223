// A fixed amount of work for instruction counting under callgrind, which
// stays the same on a busy machine where wall-clock figures do not:
//   reverb_profile [program 0|1] [block frames] [seconds of audio]
// renders the given seconds of noise at 44.1 kHz through ReverbEffect after a
// one-second warm-up. Count only the processing calls with
//   valgrind --tool=callgrind --toggle-collect='ReverbEffect::processReplacing*' reverb_profile 0 512 10
// and divide the instructions by the pairs rendered (printed on exit).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "vst2/reverb_effect.h"

namespace {

constexpr double kSampleRate = 44100.0;

}  // namespace

int main(int argc, char** argv) {
    const std::int32_t program = argc > 1 ? std::atoi(argv[1]) : 0;
    const std::int32_t blockFrames = argc > 2 ? std::atoi(argv[2]) : 512;
    const double seconds = argc > 3 ? std::atof(argv[3]) : 10.0;
    if (blockFrames < 2 || blockFrames > 8192 || seconds <= 0.0) {
        std::fprintf(stderr, "usage: reverb_profile [program 0|1] [block 2 … 8192] [seconds]\n");
        return 2;
    }
    ReverbEffect effect(nullptr);
    effect.setProgram(program);
    std::vector<float> in1(blockFrames), in2(blockFrames), out1(blockFrames), out2(blockFrames);
    float* inputs[2] = {in1.data(), in2.data()};
    float* outputs[2] = {out1.data(), out2.data()};
    std::uint32_t noise = 1u;
    auto fill = [&] {
        for (std::int32_t i = 0; i < blockFrames; ++i) {
            noise = noise * 1664525u + 1013904223u;
            in1[i] =
                static_cast<float>(static_cast<std::int32_t>(noise >> 8) - (1 << 23)) / static_cast<float>(1 << 25);
            noise = noise * 1664525u + 1013904223u;
            in2[i] =
                static_cast<float>(static_cast<std::int32_t>(noise >> 8) - (1 << 23)) / static_cast<float>(1 << 25);
        }
    };
    const std::int64_t warmUpBlocks = static_cast<std::int64_t>(kSampleRate / blockFrames);
    const std::int64_t blocks = static_cast<std::int64_t>(seconds * kSampleRate / blockFrames);
    double checksum = 0.0;
    for (std::int64_t b = 0; b < warmUpBlocks + blocks; ++b) {
        fill();
        effect.processReplacing(inputs, outputs, blockFrames);
        checksum += out1[0];
    }
    const std::int64_t pairs = (warmUpBlocks + blocks) * (blockFrames / 2);
    // Memory of one instance: the object and the delay lines' cells it owns.
    const EngineSizes& sizes = effect.getEngine().sizes();
    const std::int64_t cells = 4 * (sizes.tankAllpassLength + sizes.diffuserLength + sizes.tankDelayLength) +
                               sizes.reflectionLength + sizes.outputLength + 20 * sizes.combCapacity;
    std::printf("instance: %zu bytes of object + %lld bytes of delay cells\n", sizeof(ReverbEffect),
                static_cast<long long>(cells * static_cast<std::int64_t>(sizeof(float))));
    std::printf("program %d, block %d: %lld blocks, %lld pairs processed (checksum %.9g)\n", program, blockFrames,
                static_cast<long long>(warmUpBlocks + blocks), static_cast<long long>(pairs), checksum);
    return 0;
}
