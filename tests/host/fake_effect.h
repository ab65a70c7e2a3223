// A plug-in record made in the test, with no library behind it: it passes
// its left input doubled and its right input negated, writes only whole
// pairs of frames (the last frame of an odd block stays untouched), records
// every call, and has two named programs and 58 parameters.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "frame/aeffect.h"

class FakeEffect {
public:
    explicit FakeEffect(std::int32_t inputs = 2, std::int32_t outputs = 2, bool replacing = true) {
        record.magic = kEffectMagic;
        record.dispatcher = &dispatcher;
        record.process = &process;
        record.processReplacing = &processReplacing;
        record.setParameter = &setParameter;
        record.numPrograms = 2;
        record.numParams = 58;
        record.numInputs = inputs;
        record.numOutputs = outputs;
        record.flags = replacing ? effFlagsCanReplacing : 0;
        record.object = this;
    }
    FakeEffect(const FakeEffect&) = delete;
    FakeEffect& operator=(const FakeEffect&) = delete;

    AEffect record{};
    std::vector<std::int32_t> blockFrames;
    std::vector<std::pair<std::int32_t, float>> parameterCalls;
    std::vector<std::string> programNames{"Init", "Dattorro"};
    std::int32_t program = 0;
    bool indexedNames = true;
    std::vector<std::vector<float>> lastInputs;  // the last block's inputs, copied

private:
    static FakeEffect& of(AEffect* effect) { return *static_cast<FakeEffect*>(effect->object); }

    static VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                            void* ptr, float) {
        FakeEffect& fake = of(effect);
        switch (opcode) {
            case effSetProgram: fake.program = static_cast<std::int32_t>(value); return 0;
            case effGetProgram: return fake.program;
            case effGetProgramName:
                std::strcpy(static_cast<char*>(ptr), fake.programNames[static_cast<std::size_t>(fake.program)].c_str());
                return 0;
            case effGetProgramNameIndexed:
                if (!fake.indexedNames || index < 0 || index >= 2) return 0;
                std::strcpy(static_cast<char*>(ptr), fake.programNames[static_cast<std::size_t>(index)].c_str());
                return 1;
            default: return 0;
        }
    }

    static void run(AEffect* effect, float** inputs, float** outputs, std::int32_t frames, bool add) {
        FakeEffect& fake = of(effect);
        fake.blockFrames.push_back(frames);
        fake.lastInputs.clear();
        for (std::int32_t channel = 0; channel < effect->numInputs; ++channel)
            fake.lastInputs.emplace_back(inputs[channel], inputs[channel] + frames);
        const std::int32_t written = frames / 2 * 2;
        for (std::int32_t channel = 0; channel < effect->numOutputs; ++channel) {
            const float gain = channel == 0 ? 2.0f : -1.0f;
            const float* in = inputs[channel < effect->numInputs ? channel : 0];
            for (std::int32_t i = 0; i < written; ++i)
                outputs[channel][i] = (add ? outputs[channel][i] : 0.0f) + gain * in[i];
        }
    }
    static void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
        run(effect, inputs, outputs, frames, true);
    }
    static void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
        run(effect, inputs, outputs, frames, false);
    }
    static void VSTCALLBACK setParameter(AEffect* effect, std::int32_t index, float value) {
        of(effect).parameterCalls.emplace_back(index, value);
    }
};
