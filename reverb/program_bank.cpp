#include "reverb/program_bank.h"

ProgramBank::ProgramBank() {
    programs[1].loadFactoryProgram(1);
    programs[1].setName("Dattorro");
}

bool ProgramBank::select(std::int32_t program) {
    if (program < 0 || program >= kProgramCount) return false;
    currentProgram.store(program, std::memory_order_relaxed);
    return true;
}

void ProgramBank::store(std::int32_t index, float value) {
    if (isParameterIndex(index)) programs[current()].store(index, value);
}
