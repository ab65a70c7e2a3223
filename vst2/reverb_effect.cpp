#include "vst2/reverb_effect.h"

#include <cstring>

#include "frame/plugin_entry.h"
#include "reverb/parameter_table.h"

static_assert(ReverbEffect::kUniqueId == fourCharCode("Quaz"));

ReverbEffect::ReverbEffect(HostCallback hostCallback)
    : EffectBaseExt(hostCallback, kProgramCount, kParameterCount), engine(getSampleRate()) {
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    setFlagHasVu(true);
    setUniqueID(kUniqueId);
    setFlagCanMono(true);
    setFlagCanReplacing(true);
    mainsOff();
}

ReverbEffect::~ReverbEffect() = default;

void ReverbEffect::storeParameter(std::int32_t index, float value) {
    programs.store(index, value);
    engine.setParameter(index, value);
}

void ReverbEffect::setParameter(std::int32_t index, float value) {
    storeParameter(index, value);
    if (editor != nullptr) editor->postUpdate();
}

float ReverbEffect::getParameter(std::int32_t index) { return engine.parameter(index); }

void ReverbEffect::setProgram(std::int32_t program) {
    if (!programs.select(program)) return;
    curProgram = program;
    // Through the virtual setParameter, so that a subclass (the editor side) follows.
    for (ParameterId id : kProgramLoadOrder) setParameter(id, programs.valueOf(program, id));
}

void ReverbEffect::setProgramName(char* text) { programs.setCurrentName(text); }

void ReverbEffect::getProgramName(char* text) {
    if (text == nullptr) return;
    std::memcpy(text, programs.currentName(), kProgramNameSize);
}

void ReverbEffect::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<OutputMode::kReplace>(inputs, outputs, sampleFrames);
}

void ReverbEffect::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    processBlock<OutputMode::kAdd>(inputs, outputs, sampleFrames);
}

template <OutputMode mode>
void ReverbEffect::processBlock(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (inputs == nullptr || outputs == nullptr) return;
    engine.process<mode>(inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames);
}

void ReverbEffect::mainsOff() { engine.requestClear(); }
