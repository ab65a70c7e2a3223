#include "host/loader/plugin_setup.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "host/loader/ignore_case.h"

namespace {

// Text buffers far larger than any plug-in should write, always terminated afterwards.
constexpr std::size_t kTextBufferBytes = 256;

VstIntPtr dispatch(AEffect& effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr) {
    return effect.dispatcher(&effect, opcode, index, value, ptr, 0.0f);
}

// A whole decimal number and nothing else (no sign, no spaces).
bool parseIndex(const std::string& text, long& number) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    number = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

std::string programList(AEffect& effect) {
    std::string list;
    for (std::int32_t program = 0; program < effect.numPrograms; ++program)
        list += (program > 0 ? ", " : "") + std::to_string(program) + " \"" + programName(effect, program) + "\"";
    return list;
}

}  // namespace

std::string programName(AEffect& effect, std::int32_t program) {
    char text[kTextBufferBytes] = {};
    if (dispatch(effect, effGetProgramNameIndexed, program, -1, text) == 0) {
        dispatch(effect, effSetProgram, 0, program);
        dispatch(effect, effGetProgramName, 0, 0, text);
    }
    text[kTextBufferBytes - 1] = '\0';
    return text;
}

std::int32_t findProgram(AEffect& effect, const std::string& numberOrName) {
    long number = 0;
    if (parseIndex(numberOrName, number)) {
        if (number < effect.numPrograms) return static_cast<std::int32_t>(number);
        if (effect.numPrograms == 0) throw std::runtime_error("the plug-in has no programs");
        throw std::runtime_error("program " + numberOrName + " is outside 0 to " +
                                 std::to_string(effect.numPrograms - 1) + " (programs: " + programList(effect) + ")");
    }
    const auto current = static_cast<std::int32_t>(dispatch(effect, effGetProgram));
    std::int32_t found = -1;
    for (std::int32_t program = 0; program < effect.numPrograms && found < 0; ++program)
        if (equalIgnoringCase(programName(effect, program), numberOrName)) found = program;
    // Asking names may have switched programs on plug-ins without indexed names.
    if (effect.numPrograms > 0) dispatch(effect, effSetProgram, 0, current);
    if (found < 0) {
        if (effect.numPrograms == 0) throw std::runtime_error("the plug-in has no programs");
        throw std::runtime_error("unknown program \"" + numberOrName + "\" (programs: " + programList(effect) + ")");
    }
    return found;
}

ParameterSetting parseParameterSetting(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos) throw std::runtime_error("--set " + text + ": expected INDEX=VALUE");
    long index = 0;
    if (!parseIndex(text.substr(0, equals), index))
        throw std::runtime_error("--set " + text + ": the index is not a whole number");
    const std::string valueText = text.substr(equals + 1);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(valueText.c_str(), &end);
    if (valueText.empty() || end != valueText.c_str() + valueText.size() || errno != 0 || !std::isfinite(value))
        throw std::runtime_error("--set " + text + ": the value is not a number");
    if (value < 0.0 || value > 1.0) throw std::runtime_error("--set " + text + ": the value is outside 0 to 1");
    return {static_cast<std::int32_t>(index), static_cast<float>(value)};
}

void applyProgramAndSettings(AEffect& effect, const std::string& program,
                             const std::vector<ParameterSetting>& settings) {
    if (!settings.empty() && effect.numParams <= 0) throw std::runtime_error("the plug-in has no parameters");
    for (const ParameterSetting& setting : settings)
        if (setting.index < 0 || setting.index >= effect.numParams)
            throw std::runtime_error("parameter index " + std::to_string(setting.index) + " is outside 0 to " +
                                     std::to_string(effect.numParams - 1));
    if (!program.empty()) dispatch(effect, effSetProgram, 0, findProgram(effect, program));
    for (const ParameterSetting& setting : settings) effect.setParameter(&effect, setting.index, setting.value);
}
