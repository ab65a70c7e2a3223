// The two programs as edit buffers: "Init" and "Dattorro" as the factory
// made them, each keeping the user's edits while the plug-in is loaded, and
// which of them is current. Every parameter change lands in the current one.
//
// Threads: any. The words are relaxed atomics (automation and the editor may
// store at once); the names are plain bytes that hosts rename and read on
// one thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "reverb/parameter_table.h"
#include "reverb/program_record.h"

class ProgramBank {
public:
    // Program 0 "Init" current; program 1 "Dattorro".
    ProgramBank();

    std::int32_t current() const { return currentProgram.load(std::memory_order_relaxed); }
    // False, and nothing changes, for a number outside 0 … 1.
    bool select(std::int32_t program);

    // Into the current program; indices outside 0 … 57 are ignored.
    void store(std::int32_t index, float value);
    float valueOf(std::int32_t program, ParameterId id) const { return programs[program].valueOf(id); }
    // Into a given program 0 … 1 (a state being restored); the caller checks the number.
    void storeInto(std::int32_t program, ParameterId id, float value) { programs[program].store(id, value); }

    // The current program's name: at most 23 characters are kept; null is ignored.
    void setCurrentName(const char* text) { programs[current()].setName(text); }
    const char* currentName() const { return programs[current()].name; }
    const char* nameOf(std::int32_t program) const { return programs[program].name; }
    void setName(std::int32_t program, const char* text) { programs[program].setName(text); }

private:
    std::array<ProgramRecord, kProgramCount> programs;
    std::atomic<std::int32_t> currentProgram{0};
};
