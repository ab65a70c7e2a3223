// One stored program: 60 parameter words, laid out as kParameterTable's word
// column says, and a zero-terminated name of at most 23 characters.
#pragma once

#include <cstdint>

#include "reverb/parameter_table.h"

constexpr std::int32_t kProgramNameSize = 24;  // bytes, terminator included

struct ProgramRecord {
    // The "Init" values and the name "Init".
    ProgramRecord();

    // Number 1 overwrites the value words with the "Dattorro" values; any other
    // number changes nothing. The name is left alone.
    void loadFactoryProgram(std::int32_t number);

    float valueOf(std::int32_t parameterIndex) const { return words[kParameterTable[parameterIndex].word]; }
    void store(std::int32_t parameterIndex, float value) { words[kParameterTable[parameterIndex].word] = value; }
    // Copies at most 23 characters and always terminates; null is ignored.
    void setName(const char* text);

    float words[kProgramWordCount];
    char name[kProgramNameSize];
};
static_assert(sizeof(ProgramRecord) == 66 * 4, "60 value words and 6 words of name");
