#include "reverb/program_record.h"

ProgramRecord::ProgramRecord() : words{}, name{} {
    for (const ParameterInfo& info : kParameterTable) words[info.word] = info.initValue;
    for (const UnboundWord& unbound : kUnboundWords) words[unbound.word] = unbound.initValue;
    setName("Init");
}

void ProgramRecord::loadFactoryProgram(std::int32_t number) {
    if (number != 1) return;
    for (const ParameterInfo& info : kParameterTable) words[info.word] = info.dattorroValue;
    for (const UnboundWord& unbound : kUnboundWords) words[unbound.word] = unbound.dattorroValue;
}

void ProgramRecord::setName(const char* text) {
    if (text == nullptr) return;
    std::int32_t length = 0;
    while (length < kProgramNameSize - 1 && text[length] != '\0') {
        name[length] = text[length];
        ++length;
    }
    while (length < kProgramNameSize) name[length++] = '\0';  // nothing of an older name stays behind
}
