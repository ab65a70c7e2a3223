// The processing half of the VST 3 plug-in: ReverbProcessor behind
// IAudioProcessor's calls. One stereo input and one stereo output bus, 32-bit
// samples, the engine at the rate setupProcessing gives, parameter changes
// applied at their pairs by splitting the block around them.
//
// Threads: setupProcessing, setActive, the bus calls and the states on the
// host's main thread; process on the audio thread (nothing there allocates,
// locks or waits); tailSamples from any thread.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>

#include "reverb/reverb_processor.h"
#include "vst3/vst3_state.h"

class ReverbAudioProcessor {
public:
    static constexpr std::int32_t kChannels = 2;

    // Only a stereo input and a stereo output are taken.
    static bool acceptsArrangement(const Steinberg_Vst_SpeakerArrangement* inputs, std::int32_t inputCount,
                                   const Steinberg_Vst_SpeakerArrangement* outputs, std::int32_t outputCount);
    static bool canProcess(std::int32_t symbolicSampleSize);

    // False for anything but 32-bit samples at a positive rate.
    bool setupProcessing(const Steinberg_Vst_ProcessSetup& setup);
    // Active: the engine at the last setup's rate, with the current values;
    // inactive: the signal state cleared.
    void setActive(bool active);

    // Audio thread. False for 64-bit samples; a block without buffers (a
    // host's flush) applies its parameter changes only.
    bool process(Steinberg_Vst_ProcessData& data);
    std::uint32_t tailSamples() const { return reverb.tailSamples(); }

    Vst3State saveState() const;
    void loadState(const Vst3State& state);

    // Any thread: one parameter change from the host (sound, bypass or program).
    void applyChange(Steinberg_Vst_ParamID id, double normalized);

    const ReverbProcessor& processor() const { return reverb; }

private:
    struct StereoBuffers {
        const float* input[kChannels];
        float* output[kChannels];
    };
    static bool stereoBuffersOf(const Steinberg_Vst_ProcessData& data, StereoBuffers& buffers);
    static void applyChangeTo(void* self, Steinberg_Vst_ParamID id, double normalized);
    static void markSilentOutputs(Steinberg_Vst_ProcessData& data, std::int32_t frames);

    ReverbProcessor reverb;
    double sampleRate = ReverbProcessor::kDefaultSampleRate;
};
