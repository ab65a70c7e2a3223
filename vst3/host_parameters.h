// What a VST 3 host sees of the plug-in's model: the 57 sound parameters
// (every row of kParameterTable but the editor's own "About"), a bypass and
// the program change, with their units (one per section of the face, under
// the root unit that carries the program list), and the value texts both
// ways through the editor's converters.
//
// Any thread: everything here reads constant tables or the bank it is given.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>
#include <iterator>

#include "reverb/program_bank.h"

class HostParameters {
public:
    static constexpr std::int32_t kSoundParameterCount = kParameterCount - 1;  // all but "About"
    static constexpr std::int32_t kCount = kSoundParameterCount + 2;           // and bypass, program
    static constexpr std::int32_t kUnitCount = 1 + static_cast<std::int32_t>(std::size(kSectionNames));

    // False for an index outside 0 … kCount - 1.
    static bool info(std::int32_t index, Steinberg_Vst_ParameterInfo& info);
    static bool unitInfo(std::int32_t index, Steinberg_Vst_UnitInfo& info);

    static bool isKnown(Steinberg_Vst_ParamID id);
    // A parameter of the model that the host automates (not "About", not bypass or program).
    static bool isSoundParameter(Steinberg_Vst_ParamID id);
    // The value the model stores for a host's normalized value: limited to
    // 0 … 1 (NaN gives 0), and exactly 0 or 1 for switches.
    static float modelValue(Steinberg_Vst_ParamID id, double normalized);
    static bool isOn(double normalized) { return normalized >= 0.5; }
    // The program a normalized value selects, and back.
    static std::int32_t programOf(double normalized);
    static double normalizedProgram(std::int32_t program);

    // The text a host shows beside the units; false for an unknown id.
    static bool toText(Steinberg_Vst_ParamID id, double normalized, const ProgramBank& programs, char16_t* text);
    // The normalized value of a text a user typed; false, value untouched,
    // for an unknown id or a text that is no such value.
    static bool fromText(Steinberg_Vst_ParamID id, const char16_t* text, const ProgramBank& programs,
                         double& normalized);
    static double toPlain(Steinberg_Vst_ParamID id, double normalized);
    static double toNormalized(Steinberg_Vst_ParamID id, double plain);
};
