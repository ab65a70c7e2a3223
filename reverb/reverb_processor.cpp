#include "reverb/reverb_processor.h"

#include <algorithm>
#include <cmath>

#include "reverb/plugin_state.h"
#include "reverb/session_state.h"

ReverbProcessor::ReverbProcessor() { activate(kDefaultSampleRate); }

void ReverbProcessor::activate(float sampleRate) {
    if (!supportsRate(sampleRate)) sampleRate = kDefaultSampleRate;
    if (engine == nullptr || engine->sizes().sampleRate != sampleRate)
        engine = std::make_unique<ReverbEngine>(sampleRate);
    loadCurrentProgramIntoEngine();
    engine->requestFullClear();
    glideStep = 1.0f / std::max(1.0f, kBypassGlideMs * 0.001f * sampleRate);
    bypassMix = isBypassed() ? 1.0f : 0.0f;
}

void ReverbProcessor::setParameter(std::int32_t index, float value) {
    if (!isParameterIndex(index)) return;
    programs.store(index, value);
    engine->setParameter(index, value);
}

bool ReverbProcessor::selectProgram(std::int32_t program) {
    if (!programs.select(program)) return false;
    loadCurrentProgramIntoEngine();
    return true;
}

void ReverbProcessor::loadCurrentProgramIntoEngine() {
    for (ParameterId id : kProgramLoadOrder) engine->setParameter(id, programs.valueOf(programs.current(), id));
}

std::vector<std::uint8_t> ReverbProcessor::saveState() const {
    PluginState state = PluginState::of(programs);
    state.editorScale = editorScaleFactor;
    return state.toBytes();
}

bool ReverbProcessor::loadState(const std::uint8_t* bytes, std::size_t size) {
    PluginState state;
    if (!PluginState::fromBytes(bytes, size, state)) return false;
    state.applyTo(programs);
    editorScaleFactor = state.editorScale;
    loadCurrentProgramIntoEngine();
    return true;
}

std::vector<std::uint8_t> ReverbProcessor::saveSession() const {
    SessionState session;
    session.programs = PluginState::of(programs);
    session.programs.editorScale = editorScaleFactor;
    session.bypassed = isBypassed();
    return session.toBytes();
}

bool ReverbProcessor::loadSession(const std::uint8_t* bytes, std::size_t size) {
    SessionState session;
    if (!SessionState::fromBytes(bytes, size, session)) {
        if (!loadState(bytes, size)) return false;
        setBypass(false);
        return true;
    }
    const std::vector<std::uint8_t> programBytes = session.programs.toBytes();
    loadState(programBytes.data(), programBytes.size());
    setBypass(session.bypassed);
    return true;
}

void ReverbProcessor::process(const float* input1, const float* input2, float* output1, float* output2,
                              std::int32_t frames) {
    if (frames <= 0 || input1 == nullptr || input2 == nullptr || output1 == nullptr || output2 == nullptr) return;
    const float target = isBypassed() ? 1.0f : 0.0f;
    if (bypassMix == 0.0f && target == 0.0f) {
        engine->processStream(input1, input2, output1, output2, frames);
        return;
    }
    for (std::int32_t done = 0; done < frames; done += kGlideChunk) {
        const std::int32_t count = std::min(kGlideChunk, frames - done);
        processGliding(input1 + done, input2 + done, output1 + done, output2 + done, count);
    }
}

// The reverb keeps running while bypassed, so that its tail is there when it
// comes back. Fully bypassed, the input passes unchanged (whatever it holds);
// while gliding, a non-finite input sample counts as silence.
void ReverbProcessor::processGliding(const float* input1, const float* input2, float* output1, float* output2,
                                     std::int32_t frames) {
    float dry1[kGlideChunk], dry2[kGlideChunk];
    std::copy(input1, input1 + frames, dry1);
    std::copy(input2, input2 + frames, dry2);
    engine->processStream(dry1, dry2, output1, output2, frames);
    const float target = isBypassed() ? 1.0f : 0.0f;
    for (std::int32_t n = 0; n < frames; ++n) {
        bypassMix =
            target > bypassMix ? std::min(target, bypassMix + glideStep) : std::max(target, bypassMix - glideStep);
        if (bypassMix == 1.0f) {
            output1[n] = dry1[n];
            output2[n] = dry2[n];
        } else if (bypassMix > 0.0f) {
            const float d1 = std::isfinite(dry1[n]) ? dry1[n] : 0.0f, d2 = std::isfinite(dry2[n]) ? dry2[n] : 0.0f;
            output1[n] = output1[n] * (1.0f - bypassMix) + d1 * bypassMix;
            output2[n] = output2[n] * (1.0f - bypassMix) + d2 * bypassMix;
        }
    }
}
