#include "tests/soak/signal_scenes.h"

void SignalScenes::fill(StereoBuffers& buffers, std::int32_t frames) {
    for (std::int32_t i = 0; i < frames; ++i, ++framesInScene) {
        if (framesInScene == kSceneFrames) {
            scene = static_cast<Scene>(random.below(3));
            framesInScene = 0;
        }
        const bool sounding =
            scene == Scene::kNoise || (scene == Scene::kBursts && framesInScene % kBurstPeriodFrames < kBurstFrames);
        const auto frame = static_cast<std::size_t>(i);
        buffers.inLeft[frame] = sounding ? noise() : 0.0f;
        buffers.inRight[frame] = sounding ? noise() : 0.0f;
    }
}
