// What a host may expect to read back from the plug-in: parameters are
// stored unchanged, each program keeps its edits, and a program name keeps
// its first 23 characters. A program's values are learnt from the plug-in
// the first time it is selected; from then on every answer is checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/aeffect.h"

class ParameterModel {
public:
    static constexpr std::size_t kNameCharacters = 23;

    // A new instance: learns its current program.
    void reset(AEffect* effect);
    void parameterSet(std::int32_t index, float value);
    // After the plug-in accepted effSetProgram (program within its count).
    void programSelected(AEffect* effect, std::int32_t program);
    void programRenamed(const char* text);

    // "" when the answer is what the model expects, else what differs.
    std::string checkParameter(std::int32_t index, float answer) const;
    std::string checkProgram(VstIntPtr answer) const;
    std::string checkProgramName(const char* text) const;

private:
    struct Program {
        bool known = false;
        std::vector<float> values;
        std::string name;
    };
    void learn(AEffect* effect, std::int32_t program);
    bool indexInRange(std::int32_t index) const { return index >= 0 && index < parameterCount; }

    std::int32_t parameterCount = 0;
    std::int32_t current = 0;
    std::vector<Program> programs;
};
