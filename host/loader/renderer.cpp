#include "host/loader/renderer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

Renderer::Renderer(AEffect& effect, std::int32_t blockFrames)
    : blockFrames(blockFrames),
      processor(effect, blockFrames),
      inputLeft(static_cast<std::size_t>(blockFrames)),
      inputRight(static_cast<std::size_t>(blockFrames)) {}

std::uint64_t Renderer::render(AudioSource& source, std::uint64_t tailFrames, AudioSink& sink,
                               const Progress& progress) {
    sourceDone = false;
    std::uint64_t tailLeft = tailFrames;
    std::uint64_t framesDone = 0;
    for (;;) {
        const std::size_t frames = fillBlock(source, tailLeft);
        if (frames == 0) break;
        processor.process(inputLeft.data(), inputRight.data(), static_cast<std::int32_t>(frames));
        checkFinite(frames, framesDone);
        sink.write(processor.outputLeft(), processor.outputRight(), frames);
        framesDone += frames;
        if (progress && !progress(framesDone)) break;
    }
    return framesDone;
}

std::size_t Renderer::fillBlock(AudioSource& source, std::uint64_t& tailLeft) {
    const auto capacity = static_cast<std::size_t>(blockFrames);
    std::size_t filled = 0;
    if (!sourceDone) {
        filled = source.read(inputLeft.data(), inputRight.data(), capacity);
        sourceDone = filled < capacity;
    }
    const auto silence = static_cast<std::size_t>(std::min<std::uint64_t>(tailLeft, capacity - filled));
    std::fill_n(inputLeft.begin() + static_cast<std::ptrdiff_t>(filled), silence, 0.0f);
    std::fill_n(inputRight.begin() + static_cast<std::ptrdiff_t>(filled), silence, 0.0f);
    tailLeft -= silence;
    return filled + silence;
}

void Renderer::checkFinite(std::size_t frames, std::uint64_t firstFrame) const {
    const float* left = processor.outputLeft();
    const float* right = processor.outputRight();
    for (std::size_t frame = 0; frame < frames; ++frame) {
        if (std::isfinite(left[frame]) && std::isfinite(right[frame])) continue;
        throw std::runtime_error("the plug-in's output at frame " + std::to_string(firstFrame + frame) +
                                 " is not a finite number (NaN or infinite)");
    }
}
