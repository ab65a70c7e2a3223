// What a run sets on a plug-in before processing: a program chosen by number
// or name, then single parameters, each through the record's setParameter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/aeffect.h"

struct ParameterSetting {
    std::int32_t index;
    float value;
};

// The program's name as the plug-in reports it: effGetProgramNameIndexed, or,
// for plug-ins without it, by selecting the program and asking its name.
std::string programName(AEffect& effect, std::int32_t program);

// A program number 0 … numPrograms−1, or a name compared without regard to
// case. Throws std::runtime_error naming the programs there are.
std::int32_t findProgram(AEffect& effect, const std::string& numberOrName);

// "INDEX=VALUE" with a whole INDEX and a VALUE from 0 to 1, the range of every
// VST 2 parameter. Throws std::runtime_error saying what is wrong with the text.
ParameterSetting parseParameterSetting(const std::string& text);

// Selects the program (unless program is empty), then applies the settings in
// order. Throws std::runtime_error for an unknown program or an index outside
// 0 … numParams−1, before anything is set.
void applyProgramAndSettings(AEffect& effect, const std::string& program,
                             const std::vector<ParameterSetting>& settings);
