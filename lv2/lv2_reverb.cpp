#include "lv2/lv2_reverb.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "reverb/parameter_table.h"

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The value the engine is given for a port value: continuous parameters
// limited to 0 … 1, switches on above 0 as lv2:toggled ports are.
float engineValue(ParameterKind kind, float portValue) {
    if (kind == ParameterKind::kStageSwitch) return portValue > 0.0f ? 1.0f : 0.0f;
    return std::clamp(portValue, 0.0f, 1.0f);
}

}  // namespace

Lv2Reverb::Lv2Reverb(double sampleRate) : sampleRateHz(static_cast<float>(sampleRate)) {
    processor.activate(sampleRateHz);
    // The engine holds "Init": ports that still show it need not be applied.
    for (std::int32_t id = 0; id < lv2_ports::kSoundParameterCount; ++id)
        readBits[id] = bitsOf(kParameterTable[id].initValue);
    enabledBits = bitsOf(1.0f);
}

void Lv2Reverb::connectPort(std::uint32_t port, void* data) {
    using namespace lv2_ports;
    switch (port) {
        case kInputLeft: inputs[0] = static_cast<const float*>(data); return;
        case kInputRight: inputs[1] = static_cast<const float*>(data); return;
        case kOutputLeft: outputs[0] = static_cast<float*>(data); return;
        case kOutputRight: outputs[1] = static_cast<float*>(data); return;
        case kEnabledPort: enabled = static_cast<const float*>(data); return;
        default: break;
    }
    const ParameterId id = parameterOf(port);
    if (isSoundParameter(id)) controls[id] = static_cast<const float*>(data);
}

void Lv2Reverb::activate() { processor.activate(sampleRateHz); }

void Lv2Reverb::deactivate() { processor.reset(); }

void Lv2Reverb::run(std::uint32_t frames) {
    readControlPorts();
    if (frames == 0) return;
    if (inputs[0] == nullptr || inputs[1] == nullptr) {
        silenceOutputs(frames);
        return;
    }
    if (outputs[0] == nullptr || outputs[1] == nullptr) return;
    processor.process(inputs[0], inputs[1], outputs[0], outputs[1], static_cast<std::int32_t>(frames));
}

void Lv2Reverb::readControlPorts() {
    for (std::int32_t index = 0; index < lv2_ports::kSoundParameterCount; ++index) {
        if (controls[index] == nullptr) continue;
        const float value = *controls[index];
        if (bitsOf(value) == readBits[index]) continue;
        readBits[index] = bitsOf(value);
        applyControl(static_cast<ParameterId>(index), value);
    }
    if (enabled != nullptr && bitsOf(*enabled) != enabledBits) {
        enabledBits = bitsOf(*enabled);
        processor.setBypass(*enabled <= 0.0f);  // NaN keeps the reverb on
    }
}

// A NaN port value is not applied: the parameter keeps what it had.
void Lv2Reverb::applyControl(ParameterId id, float value) {
    if (std::isnan(value)) return;
    processor.setParameter(id, engineValue(kParameterTable[id].kind, value));
}

void Lv2Reverb::silenceOutputs(std::uint32_t frames) {
    for (float* output : outputs)
        if (output != nullptr) std::fill(output, output + frames, 0.0f);
}
