#include "tests/fuzz/parameter_model.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// A 32-bit x87 return may quiet a signalling NaN: any NaN matches any NaN.
bool sameValue(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    std::uint32_t bitsA, bitsB;
    std::memcpy(&bitsA, &a, sizeof a);
    std::memcpy(&bitsB, &b, sizeof b);
    return bitsA == bitsB;  // +0 and -0 differ: values are stored unchanged
}

std::string describe(const char* what, double expected, double answer, std::int32_t index) {
    char text[128];
    std::snprintf(text, sizeof text, "%s %d: expected %.9g, the plug-in answered %.9g", what, static_cast<int>(index),
                  expected, answer);
    return text;
}

}  // namespace

void ParameterModel::reset(AEffect* effect) {
    parameterCount = effect->numParams;
    programs.assign(effect->numPrograms > 0 ? effect->numPrograms : 1, Program{});
    current = static_cast<std::int32_t>(effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f));
    if (current < 0 || current >= static_cast<std::int32_t>(programs.size())) current = 0;
    learn(effect, current);
}

void ParameterModel::learn(AEffect* effect, std::int32_t program) {
    Program& learnt = programs[program];
    learnt.values.resize(parameterCount);
    for (std::int32_t i = 0; i < parameterCount; ++i) learnt.values[i] = effect->getParameter(effect, i);
    char name[256] = {};
    effect->dispatcher(effect, effGetProgramName, 0, 0, name, 0.0f);
    learnt.name.assign(name, strnlen(name, sizeof name));
    learnt.known = true;
}

void ParameterModel::parameterSet(std::int32_t index, float value) {
    if (indexInRange(index)) programs[current].values[index] = value;
}

void ParameterModel::programSelected(AEffect* effect, std::int32_t program) {
    current = program;
    if (!programs[program].known) learn(effect, program);
}

void ParameterModel::programRenamed(const char* text) {
    programs[current].name.assign(text, strnlen(text, kNameCharacters));
}

std::string ParameterModel::checkParameter(std::int32_t index, float answer) const {
    const float expected = indexInRange(index) ? programs[current].values[index] : 0.0f;
    return sameValue(expected, answer) ? "" : describe("parameter", expected, answer, index);
}

std::string ParameterModel::checkProgram(VstIntPtr answer) const {
    if (answer == current) return "";
    return describe("effGetProgram after selecting program", current, static_cast<double>(answer), current);
}

std::string ParameterModel::checkProgramName(const char* text) const {
    const std::string& expected = programs[current].name;
    if (expected == text) return "";
    return "program " + std::to_string(current) + " name: expected \"" + expected + "\", the plug-in answered \"" +
           text + "\"";
}
