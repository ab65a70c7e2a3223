#include "reverb/program_record.h"

ProgramRecord::ProgramRecord() : words{}, name{} {
    for (const ParameterInfo& info : kParameterTable) words[info.word].store(info.initValue, std::memory_order_relaxed);
    for (const UnboundWord& unbound : kUnboundWords)
        words[unbound.word].store(unbound.initValue, std::memory_order_relaxed);
    setName("Init");
}

void ProgramRecord::loadFactoryProgram(std::int32_t number) {
    if (number != 1) return;
    for (const ParameterInfo& info : kParameterTable)
        words[info.word].store(info.dattorroValue, std::memory_order_relaxed);
    for (const UnboundWord& unbound : kUnboundWords)
        words[unbound.word].store(unbound.dattorroValue, std::memory_order_relaxed);
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
