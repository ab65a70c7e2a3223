#include "vst3/host_parameters.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "reverb/parameter_table.h"
#include "reverb/value_converters.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/utf16_text.h"

namespace {

using ParamID = Steinberg_Vst_ParamID;

constexpr std::size_t kTextSize = Utf16Text::kString128Size;

// The sound parameters in the host's order: the table's, without "About".
constexpr std::array<ParameterId, HostParameters::kSoundParameterCount> soundParameters() {
    std::array<ParameterId, HostParameters::kSoundParameterCount> ids{};
    std::size_t next = 0;
    for (const ParameterInfo& row : kParameterTable)
        if (row.kind != ParameterKind::kEditorState) ids[next++] = row.id;
    return ids;
}
constexpr std::array<ParameterId, HostParameters::kSoundParameterCount> kSoundParameters = soundParameters();

constexpr Steinberg_Vst_UnitID unitOf(Section section) { return static_cast<Steinberg_Vst_UnitID>(section) + 1; }

bool isSwitch(ParamID id) {
    return id == kBypassParamId ||
           (HostParameters::isSoundParameter(id) && kParameterTable[id].kind == ParameterKind::kStageSwitch);
}

double limitedToUnit(double value) { return !(value > 0.0) ? 0.0 : value > 1.0 ? 1.0 : value; }

bool equalIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

// The display text without its unit, which hosts show from ParameterInfo's units.
void removeUnit(char* text, const char* unit) {
    const std::size_t length = std::strlen(text), unitLength = std::strlen(unit);
    if (unitLength == 0 || unitLength > length || !equalIgnoringCase(text + length - unitLength, unit)) return;
    std::size_t end = length - unitLength;
    while (end > 0 && text[end - 1] == ' ') --end;
    text[end] = '\0';
}

void fillInfo(Steinberg_Vst_ParameterInfo& info, ParamID id, const char* title, const char* shortTitle,
              const char* units) {
    info = {};
    info.id = id;
    Utf16Text::fromAscii(title, info.title, kTextSize);
    Utf16Text::fromAscii(shortTitle, info.shortTitle, kTextSize);
    Utf16Text::fromAscii(units, info.units, kTextSize);
}

void soundParameterInfo(ParameterId id, Steinberg_Vst_ParameterInfo& info) {
    const ParameterInfo& row = kParameterTable[id];
    fillInfo(info, static_cast<ParamID>(id), row.name, row.faceLabel, row.unit);
    info.stepCount = row.kind == ParameterKind::kStageSwitch ? 1 : 0;
    info.defaultNormalizedValue = row.initValue;
    info.unitId = unitOf(row.section);
    info.flags = Steinberg_Vst_ParameterInfo_ParameterFlags_kCanAutomate;
}

bool switchFromText(const char* text, double& normalized) {
    if (equalIgnoringCase(text, "on")) {
        normalized = 1.0;
        return true;
    }
    if (equalIgnoringCase(text, "off")) {
        normalized = 0.0;
        return true;
    }
    float number = 0.0f;
    if (!parseValueText(nullptr, text, number)) return false;
    normalized = HostParameters::isOn(number) ? 1.0 : 0.0;
    return true;
}

bool programFromText(const char* text, const ProgramBank& programs, double& normalized) {
    for (std::int32_t program = 0; program < kProgramCount; ++program)
        if (equalIgnoringCase(text, programs.nameOf(program))) {
            normalized = HostParameters::normalizedProgram(program);
            return true;
        }
    return false;
}

}  // namespace

bool HostParameters::info(std::int32_t index, Steinberg_Vst_ParameterInfo& info) {
    if (index < 0 || index >= kCount) return false;
    if (index < kSoundParameterCount) {
        soundParameterInfo(kSoundParameters[static_cast<std::size_t>(index)], info);
    } else if (index == kSoundParameterCount) {
        fillInfo(info, kBypassParamId, "Bypass", "Bypass", "");  // in the root unit, as the program is
        info.stepCount = 1;
        info.flags = Steinberg_Vst_ParameterInfo_ParameterFlags_kCanAutomate |
                     Steinberg_Vst_ParameterInfo_ParameterFlags_kIsBypass;
    } else {
        fillInfo(info, kProgramParamId, "Program", "Program", "");
        info.stepCount = kProgramCount - 1;
        info.flags = Steinberg_Vst_ParameterInfo_ParameterFlags_kIsProgramChange |
                     Steinberg_Vst_ParameterInfo_ParameterFlags_kIsList;
    }
    return true;
}

bool HostParameters::unitInfo(std::int32_t index, Steinberg_Vst_UnitInfo& info) {
    if (index < 0 || index >= kUnitCount) return false;
    info = {};
    if (index == 0) {
        info.id = Steinberg_Vst_kRootUnitId;
        info.parentUnitId = Steinberg_Vst_kNoParentUnitId;
        info.programListId = kFactoryProgramListId;
        Utf16Text::fromAscii("Roomplate", info.name, kTextSize);
        return true;
    }
    const auto section = static_cast<Section>(index - 1);
    info.id = unitOf(section);
    info.parentUnitId = Steinberg_Vst_kRootUnitId;
    info.programListId = Steinberg_Vst_kNoProgramListId;
    Utf16Text::fromAscii(kSectionNames[index - 1], info.name, kTextSize);
    return true;
}

bool HostParameters::isKnown(ParamID id) {
    return isSoundParameter(id) || id == kBypassParamId || id == kProgramParamId;
}

bool HostParameters::isSoundParameter(ParamID id) {
    return id < static_cast<ParamID>(kParameterCount) && kParameterTable[id].kind != ParameterKind::kEditorState;
}

float HostParameters::modelValue(ParamID id, double normalized) {
    const double value = limitedToUnit(normalized);
    if (isSwitch(id)) return isOn(value) ? 1.0f : 0.0f;
    return static_cast<float>(value);
}

std::int32_t HostParameters::programOf(double normalized) {
    return static_cast<std::int32_t>(std::lround(limitedToUnit(normalized) * (kProgramCount - 1)));
}

double HostParameters::normalizedProgram(std::int32_t program) {
    return static_cast<double>(program) / (kProgramCount - 1);
}

bool HostParameters::toText(ParamID id, double normalized, const ProgramBank& programs, char16_t* text) {
    if (!isKnown(id)) return false;
    char ascii[kConverterTextSize];
    if (id == kProgramParamId) {
        std::snprintf(ascii, sizeof ascii, "%s", programs.nameOf(programOf(normalized)));
    } else if (isSwitch(id)) {
        std::snprintf(ascii, sizeof ascii, "%s", isOn(normalized) ? "on" : "off");
    } else {
        const ParameterInfo& row = kParameterTable[id];
        valueText(row.converter, modelValue(id, normalized), ascii);
        removeUnit(ascii, row.unit);
    }
    Utf16Text::fromAscii(ascii, text, kTextSize);
    return true;
}

bool HostParameters::fromText(ParamID id, const char16_t* text, const ProgramBank& programs, double& normalized) {
    if (!isKnown(id) || text == nullptr) return false;
    char ascii[kTextSize];
    Utf16Text::toAscii(text, ascii, sizeof ascii);
    if (id == kProgramParamId) return programFromText(ascii, programs, normalized);
    if (isSwitch(id)) return switchFromText(ascii, normalized);
    float value = 0.0f;
    if (!parseValueText(kParameterTable[id].converter, ascii, value)) return false;
    normalized = value;
    return true;
}

double HostParameters::toPlain(ParamID id, double normalized) {
    if (id == kProgramParamId) return programOf(normalized);
    return modelValue(id, normalized);
}

double HostParameters::toNormalized(ParamID id, double plain) {
    if (id == kProgramParamId) return normalizedProgram(programOf(plain / (kProgramCount - 1)));
    return modelValue(id, plain);
}
