#include "host/audio/demo_signal.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/audio/noise_generator.h"

namespace {

struct Pluck {
    double startSeconds;
    double frequencyHz;
    float pan;  // −1 left … +1 right
};

// A minor arpeggio up, then two notes back down.
constexpr Pluck kPhrase[] = {
    {0.50, 220.00, -0.5f}, {0.80, 261.63, 0.3f},  {1.10, 329.63, -0.2f},
    {1.40, 440.00, 0.5f},  {1.90, 392.00, -0.4f}, {2.20, 329.63, 0.2f},
};
constexpr double kNoteSeconds = 1.2;
constexpr double kNoteFadeSeconds = 0.02;  // the string is damped, not cut
constexpr float kPluckLevel = 0.5f;
constexpr float kLoopGain = 0.996f;  // per pass round the string: about −8 dB a second at 220 Hz

constexpr double kClickSeconds = 0.10;
constexpr float kClickLevel = 1.0f;

constexpr double kBurstSeconds = 3.00;
constexpr double kBurstLengthSeconds = 0.06;
constexpr double kBurstAttackSeconds = 0.002;
constexpr float kBurstLevel = 0.6f;

std::size_t frameAt(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kDemoSampleRate)); }

// Karplus-Strong: a delay line of one period filled with noise, each sample
// averaged with its neighbour on every pass, which damps the high harmonics
// first, like a plucked string.
class PluckedString {
public:
    PluckedString(std::size_t periodSamples, NoiseGenerator& noise) : line(periodSamples) {
        for (float& sample : line) sample = kPluckLevel * noise.next();
    }

    float next() {
        const float out = line[position];
        const std::size_t following = position + 1 == line.size() ? 0 : position + 1;
        line[position] = kLoopGain * 0.5f * (out + line[following]);
        position = following;
        return out;
    }

private:
    std::vector<float> line;
    std::size_t position = 0;
};

// Constant-power pan through square roots, which are exactly rounded everywhere.
void addPanned(StereoAudio& audio, std::size_t frame, float sample, float pan) {
    audio.left[frame] += sample * std::sqrt(0.5f * (1.0f - pan));
    audio.right[frame] += sample * std::sqrt(0.5f * (1.0f + pan));
}

void addPluck(StereoAudio& audio, const Pluck& pluck, NoiseGenerator& noise) {
    PluckedString string(static_cast<std::size_t>(std::lround(kDemoSampleRate / pluck.frequencyHz)), noise);
    const std::size_t start = frameAt(pluck.startSeconds);
    const std::size_t length = std::min(frameAt(kNoteSeconds), audio.frames() - start);
    const std::size_t fadeLength = frameAt(kNoteFadeSeconds);
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t left = length - i;
        const float fade = left < fadeLength ? static_cast<float>(left) / static_cast<float>(fadeLength) : 1.0f;
        addPanned(audio, start + i, fade * string.next(), pluck.pan);
    }
}

void addClick(StereoAudio& audio) {
    const std::size_t frame = frameAt(kClickSeconds);
    audio.left[frame] += kClickLevel;
    audio.right[frame] += kClickLevel;
}

// Linear attack, then a linear fall to silence.
void addNoiseBurst(StereoAudio& audio, NoiseGenerator& noise) {
    const std::size_t start = frameAt(kBurstSeconds);
    const std::size_t length = frameAt(kBurstLengthSeconds);
    const std::size_t attack = frameAt(kBurstAttackSeconds);
    for (std::size_t i = 0; i < length; ++i) {
        const float envelope = i < attack ? static_cast<float>(i) / static_cast<float>(attack)
                                          : static_cast<float>(length - i) / static_cast<float>(length - attack);
        audio.left[start + i] += kBurstLevel * envelope * noise.next();
        audio.right[start + i] += kBurstLevel * envelope * noise.next();
    }
}

void normalize(StereoAudio& audio, float peak) {
    float largest = 0.0f;
    for (const auto* channel : {&audio.left, &audio.right})
        for (float sample : *channel) largest = std::max(largest, std::fabs(sample));
    if (largest == 0.0f) return;
    const float gain = peak / largest;
    for (auto* channel : {&audio.left, &audio.right})
        for (float& sample : *channel) sample *= gain;
}

}  // namespace

StereoAudio demoSignal() {
    StereoAudio audio;
    audio.sampleRate = kDemoSampleRate;
    audio.left.assign(frameAt(kDemoSeconds), 0.0f);
    audio.right.assign(audio.left.size(), 0.0f);
    NoiseGenerator noise;
    addClick(audio);
    for (const Pluck& pluck : kPhrase) addPluck(audio, pluck, noise);
    addNoiseBurst(audio, noise);
    normalize(audio, kDemoPeak);
    return audio;
}
