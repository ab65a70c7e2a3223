#include "tests/fuzz/kept_instance.h"

#include <cstring>

KeptInstance::~KeptInstance() {
    if (kept != nullptr) call(effClose);
}

void KeptInstance::keep(AEffect* made) {
    kept = made;
    currentProgram = call(effGetProgram);
    programs.assign(kept->numPrograms, Program{});
    for (std::int32_t p = 0; p < kept->numPrograms; ++p) {
        call(effSetProgram, p);
        for (std::int32_t index = 0; index < kept->numParams; ++index)
            programs[p].values.push_back(kept->getParameter(kept, index));
        char name[256] = {};
        call(effGetProgramName, 0, name);
        programs[p].name = name;
    }
    call(effSetProgram, currentProgram);
}

void KeptInstance::restore() {
    if (programSwitched || call(effGetProgram) != currentProgram) {
        for (std::int32_t p = 0; p < static_cast<std::int32_t>(programs.size()); ++p) {
            call(effSetProgram, p);
            restoreCurrentProgram(programs[p]);
        }
        call(effSetProgram, currentProgram);
    } else {
        restoreCurrentProgram(programs[currentProgram]);
    }
    programSwitched = false;
    call(effSetSampleRate, 0, nullptr, kHostRate);
    call(effSetBlockSize, kHostBlockSize);
    call(effMainsChanged, 1);
    recoverFromRunaway();
}

// Far beyond any level the engine lets its signal reach (finite: a non-finite
// input counts as silence).
void KeptInstance::recoverFromRunaway() {
    constexpr float kRunawayInput = 1.0e30f;
    float in[2] = {kRunawayInput, kRunawayInput};
    float out[2][2] = {};
    float* inputs[2] = {in, in};
    float* outputs[2] = {out[0], out[1]};
    kept->processReplacing(kept, inputs, outputs, 2);
}

// Compares bits: a -0 or a NaN payload is a different value to the plug-in.
void KeptInstance::restoreCurrentProgram(const Program& program) {
    for (std::int32_t index = 0; index < kept->numParams; ++index) {
        const float now = kept->getParameter(kept, index);
        if (std::memcmp(&now, &program.values[index], sizeof now) != 0)
            kept->setParameter(kept, index, program.values[index]);
    }
    char name[256] = {};
    call(effGetProgramName, 0, name);
    if (program.name == name) return;
    std::strncpy(name, program.name.c_str(), sizeof name - 1);
    call(effSetProgramName, 0, name);
}
