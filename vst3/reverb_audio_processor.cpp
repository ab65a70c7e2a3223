#include "vst3/reverb_audio_processor.h"

#include <algorithm>

#include "vst3/host_parameters.h"
#include "vst3/parameter_change_reader.h"
#include "vst3/vst3_ids.h"

bool ReverbAudioProcessor::acceptsArrangement(const Steinberg_Vst_SpeakerArrangement* inputs, std::int32_t inputCount,
                                              const Steinberg_Vst_SpeakerArrangement* outputs,
                                              std::int32_t outputCount) {
    return inputCount == 1 && outputCount == 1 && inputs != nullptr && outputs != nullptr &&
           inputs[0] == Steinberg_Vst_SpeakerArr_kStereo && outputs[0] == Steinberg_Vst_SpeakerArr_kStereo;
}

bool ReverbAudioProcessor::canProcess(std::int32_t symbolicSampleSize) {
    return symbolicSampleSize == Steinberg_Vst_SymbolicSampleSizes_kSample32;
}

bool ReverbAudioProcessor::setupProcessing(const Steinberg_Vst_ProcessSetup& setup) {
    if (!canProcess(setup.symbolicSampleSize) || !ReverbProcessor::supportsRate(setup.sampleRate)) return false;
    sampleRate = setup.sampleRate;
    return true;
}

void ReverbAudioProcessor::setActive(bool active) {
    if (active)
        reverb.activate(static_cast<float>(sampleRate));
    else
        reverb.reset();
}

void ReverbAudioProcessor::applyChange(Steinberg_Vst_ParamID id, double normalized) {
    if (HostParameters::isSoundParameter(id)) {
        reverb.setParameter(static_cast<std::int32_t>(id), HostParameters::modelValue(id, normalized));
    } else if (id == kBypassParamId) {
        reverb.setBypass(HostParameters::isOn(normalized));
    } else if (id == kProgramParamId) {
        // Only relaxed atomic stores (the bank's current program and the
        // engine's live values), so the audio thread may switch programs.
        const std::int32_t program = HostParameters::programOf(normalized);
        if (program != reverb.currentProgram()) reverb.selectProgram(program);
    }
}

void ReverbAudioProcessor::applyChangeTo(void* self, Steinberg_Vst_ParamID id, double normalized) {
    static_cast<ReverbAudioProcessor*>(self)->applyChange(id, normalized);
}

bool ReverbAudioProcessor::process(Steinberg_Vst_ProcessData& data) {
    if (!canProcess(data.symbolicSampleSize)) return false;
    StereoBuffers buffers{};
    const bool hasAudio = data.numSamples > 0 && stereoBuffersOf(data, buffers);
    const std::int32_t frames = hasAudio ? data.numSamples : 0;
    ParameterChangeReader changes(data.inputParameterChanges, frames);
    for (std::int32_t done = 0;;) {
        changes.applyUpTo(done, applyChangeTo, this);
        if (done >= frames) break;
        const std::int32_t next = std::max(changes.nextChangeFrame(), done);
        reverb.process(buffers.input[0] + done, buffers.input[1] + done, buffers.output[0] + done,
                       buffers.output[1] + done, next - done);
        done = next;
    }
    if (hasAudio) markSilentOutputs(data, frames);
    return true;
}

// The first input and output bus, each of one or two channels (one channel
// serves as both). Without an input the output buffers, cleared, are the
// input: the reverb hears silence and its tail goes on.
bool ReverbAudioProcessor::stereoBuffersOf(const Steinberg_Vst_ProcessData& data, StereoBuffers& buffers) {
    if (data.numOutputs < 1 || data.outputs == nullptr) return false;
    const Steinberg_Vst_AudioBusBuffers& out = data.outputs[0];
    float** outChannels = out.Steinberg_Vst_AudioBusBuffers_channelBuffers32;
    if (out.numChannels < 1 || outChannels == nullptr) return false;
    buffers.output[0] = outChannels[0];
    buffers.output[1] = outChannels[out.numChannels > 1 ? 1 : 0];
    if (buffers.output[0] == nullptr || buffers.output[1] == nullptr) return false;

    const Steinberg_Vst_AudioBusBuffers* in = data.numInputs > 0 ? data.inputs : nullptr;
    float** inChannels = in != nullptr ? in->Steinberg_Vst_AudioBusBuffers_channelBuffers32 : nullptr;
    if (in != nullptr && in->numChannels > 0 && inChannels != nullptr && inChannels[0] != nullptr &&
        inChannels[in->numChannels > 1 ? 1 : 0] != nullptr) {
        buffers.input[0] = inChannels[0];
        buffers.input[1] = inChannels[in->numChannels > 1 ? 1 : 0];
        return true;
    }
    for (float* channel : buffers.output) std::fill(channel, channel + data.numSamples, 0.0f);
    buffers.input[0] = buffers.output[0];
    buffers.input[1] = buffers.output[1];
    return true;
}

// A channel whose every sample is exactly 0 is flagged silent, so that a
// host can skip what follows.
void ReverbAudioProcessor::markSilentOutputs(Steinberg_Vst_ProcessData& data, std::int32_t frames) {
    Steinberg_Vst_AudioBusBuffers& out = data.outputs[0];
    out.silenceFlags = 0;
    for (std::int32_t channel = 0; channel < out.numChannels && channel < 64; ++channel) {
        const float* samples = out.Steinberg_Vst_AudioBusBuffers_channelBuffers32[channel];
        if (samples != nullptr && std::all_of(samples, samples + frames, [](float s) { return s == 0.0f; }))
            out.silenceFlags |= Steinberg_uint64{1} << channel;
    }
}

Vst3State ReverbAudioProcessor::saveState() const {
    Vst3State state;
    const std::vector<std::uint8_t> bytes = reverb.saveState();
    PluginState::fromBytes(bytes.data(), bytes.size(), state.programs);
    state.bypassed = reverb.isBypassed();
    return state;
}

void ReverbAudioProcessor::loadState(const Vst3State& state) {
    const std::vector<std::uint8_t> bytes = state.programs.toBytes();
    reverb.loadState(bytes.data(), bytes.size());
    reverb.setBypass(state.bypassed);
}
