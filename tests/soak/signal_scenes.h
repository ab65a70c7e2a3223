// What the soak plays into one instance: scenes of a few seconds each of
// noise, silence, or bursts (short noise between silences), in random order.
//
// Audio thread; nothing allocates after construction.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/soak/soak_random.h"

struct StereoBuffers {
    explicit StereoBuffers(std::int32_t maxFrames)
        : inLeft(static_cast<std::size_t>(maxFrames)),
          inRight(static_cast<std::size_t>(maxFrames)),
          outLeft(static_cast<std::size_t>(maxFrames)),
          outRight(static_cast<std::size_t>(maxFrames)) {}
    std::vector<float> inLeft, inRight, outLeft, outRight;
};

class SignalScenes {
public:
    explicit SignalScenes(std::uint32_t seed) : random(seed) {}

    // The next frames of the current scene into the input buffers.
    void fill(StereoBuffers& buffers, std::int32_t frames);

private:
    enum class Scene { kNoise, kSilence, kBursts };
    static constexpr std::int64_t kSceneFrames = 3 * 44100;
    static constexpr std::int64_t kBurstPeriodFrames = 22050;
    static constexpr std::int64_t kBurstFrames = 2205;
    static constexpr float kNoiseLevel = 0.5f;

    float noise() { return kNoiseLevel * (2.0f * random.unit() - 1.0f); }

    SoakRandom random;
    Scene scene = Scene::kNoise;
    std::int64_t framesInScene = 0;
};
