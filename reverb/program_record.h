// One stored program: 60 parameter words, laid out as kParameterTable's word
// column says, and a zero-terminated name of at most 23 characters.
#pragma once

#include <atomic>
#include <cstdint>

#include "reverb/parameter_table.h"

constexpr std::int32_t kProgramNameSize = 24;  // bytes, terminator included

struct ProgramRecord {
    // The "Init" values and the name "Init".
    ProgramRecord();

    // Number 1 overwrites the value words with the "Dattorro" values; any other
    // number changes nothing. The name is left alone.
    void loadFactoryProgram(std::int32_t number);

    float valueOf(std::int32_t parameterIndex) const {
        return words[kParameterTable[parameterIndex].word].load(std::memory_order_relaxed);
    }
    void store(std::int32_t parameterIndex, float value) {
        words[kParameterTable[parameterIndex].word].store(value, std::memory_order_relaxed);
    }
    // Copies at most 23 characters and always terminates; null is ignored.
    void setName(const char* text);

    // Relaxed atomics, each the single store of a plain word: the host's
    // automation and the editor may set parameters from two threads at once.
    std::atomic<float> words[kProgramWordCount];
    char name[kProgramNameSize];
};
static_assert(std::atomic<float>::is_always_lock_free);
static_assert(sizeof(ProgramRecord) == 66 * 4, "60 value words and 6 words of name");
