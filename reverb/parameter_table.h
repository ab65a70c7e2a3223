// The 58 parameters as data: where each one is stored in a ProgramRecord, the
// label on the editor face, what it does, how the engine maps its value v, and
// its value in the two factory programs. The program store, the docs generator
// and the editor all read this one table.
#pragma once

#include <array>
#include <cstdint>

constexpr std::int32_t kParameterCount = 58;
constexpr std::int32_t kProgramWordCount = 60;  // value words of a ProgramRecord
constexpr std::int32_t kProgramCount = 2;

// The parameters the engine reads as on/off switches.
constexpr std::int32_t kFilterSwitch = 53;       // state-variable filter
constexpr std::int32_t kReflectionsSwitch = 54;  // early reflections
constexpr std::int32_t kTankSwitch = 55;         // tank
constexpr std::int32_t kCombsSwitch = 56;        // comb bank

struct ParameterInfo {
    std::int32_t index;      // parameter index, 0 … 57
    std::int32_t word;       // ProgramRecord word that holds the value
    const char* faceLabel;   // the text printed beside the control on the editor face
    const char* faceColumn;  // heading of the column the label stands under, or ""
    const char* meaning;     // what the parameter does
    const char* mapping;     // how the engine maps the value v, with the unit
    float initValue;         // in the factory program "Init"
    float dattorroValue;     // in the factory program "Dattorro"
};

// Lengths named in the mappings (at the engine's half rate): diffuser 90 ms,
// tank allpass 120 ms, tank delay 180 ms, output line 200 ms.
// clang-format off
inline constexpr std::array<ParameterInfo, kParameterCount> kParameterTable{{
    {0, 4, "Quality", "", "comb lines in use", "floor(20 * v) lines, 0 to 20", 1.0f, 0.6f},
    {1, 2, "Absorption", "", "comb feedback: gain of the 100 ms comb line; fixes the decay of all comb lines", "gain v; decay time -300 / log10(v) ms", 0.1f, 0.1f},
    {2, 3, "BandDamp", "", "input bandwidth", "lowpass coefficient v", 1.0f, 0.5f},
    {3, 5, "AllPass Time 1", "", "diffuser 1 distance", "floor(v * diffuser length) samples", 0.5f, 0.05f},
    {4, 6, "AllPass Time 2", "", "diffuser 2 distance", "floor(v * diffuser length) samples", 0.5f, 0.04f},
    {5, 7, "AllPass Time 3", "", "diffuser 3 distance", "floor(v * diffuser length) samples", 0.5f, 0.14f},
    {6, 8, "AllPass Time 4", "", "diffuser 4 distance", "floor(v * diffuser length) samples", 0.5f, 0.1f},
    {7, 9, "AllPass Time 5", "", "tank allpass A distance", "floor(v * tank allpass length) samples", 0.5f, 0.19f},
    {8, 10, "AllPass Time 7", "", "tank allpass B distance", "floor(v * tank allpass length) samples", 0.5f, 0.5f},
    {9, 11, "AllPass Time 6", "", "tank allpass C distance", "floor(v * tank allpass length) samples", 0.5f, 0.25f},
    {10, 12, "AllPass Time 8", "", "tank allpass D distance", "floor(v * tank allpass length) samples", 0.5f, 0.74f},
    {11, 22, "AllPass Gain", "", "gain of diffusers 1 and 2", "allpass gain v", 0.5f, 0.8f},
    {12, 23, "AllPass Gain", "", "gain of diffusers 3 and 4", "allpass gain v", 0.5f, 0.8f},
    {13, 24, "AllPass Gain", "", "gain of tank allpasses A and B", "allpass gain 0.8 * v", 0.5f, 0.8f},
    {14, 25, "AllPass Gain", "", "gain of tank allpasses C and D", "allpass gain 0.8 * v", 0.5f, 0.8f},
    {15, 26, "Damping", "", "damping of tank branch 1", "lowpass coefficient v", 0.99f, 0.3f},
    {16, 27, "Damping", "", "damping of tank branch 2", "lowpass coefficient v", 0.99f, 0.3f},
    {17, 18, "Tank Delay 1", "", "tank delay 1 tap", "floor(v * tank delay length) samples", 0.3f, 0.83f},
    {18, 19, "Tank Delay 2", "", "tank delay 2 tap", "floor(v * tank delay length) samples", 0.3f, 0.79f},
    {19, 20, "Tank Delay 3", "", "tank delay 3 tap", "floor(v * tank delay length) samples", 0.3f, 0.69f},
    {20, 21, "Tank Delay 4", "", "tank delay 4 tap", "floor(v * tank delay length) samples", 0.3f, 0.59f},
    {21, 28, "Tank Decay 1", "", "decay of branch 1, after its damping", "gain -v", 0.4f, 0.4f},
    {22, 29, "Tank Decay 2", "", "decay of branch 2, after its damping", "gain -v", 0.4f, 0.4f},
    {23, 13, "Tank Decay 3", "", "feed from the end of branch 1 into branch 2", "gain v", 0.5f, 0.5f},
    {24, 14, "Tank Decay 4", "", "feed from the end of branch 2 into branch 1", "gain v", 0.5f, 0.5f},
    {25, 15, "DryOutput", "", "dry level: the mono input in the output mix", "gain v", 0.5f, 0.0f},
    {26, 16, "WetOutput", "", "wet level: the processed signal in the output mix", "gain v", 0.5f, 0.5f},
    {27, 36, "CenterHz", "", "filter frequency", "state-variable coefficient f = v", 0.6f, 0.6f},
    {28, 37, "Resonance", "", "filter input scale and damping", "state-variable coefficient q = v", 0.99f, 0.99f},
    {29, 30, "Source Vol.", "", "reflection level: scales all eight reflection gains", "gain v * weight * 100 / distance in metres", 0.1f, 0.1f},
    {30, 31, "Room Width", "", "room width", "50 * v + 10 metres", 0.0f, 0.0f},
    {31, 32, "Room Length", "", "room depth", "50 * v + 10 metres", 0.0f, 0.0f},
    {32, 33, "Source X", "", "source x", "v * room width", 0.1f, 0.1f},
    {33, 34, "Source Y", "", "source y", "v * room depth", 0.1f, 0.1f},
    {34, 17, "Listener X", "", "listener x", "v * room width", 0.2f, 0.2f},
    {35, 0, "Listener Y", "", "listener y", "v * room depth", 0.3f, 0.3f},
    {36, 38, "Left", "Delay", "left output tap 1", "floor(v * output length) samples", 0.0f, 0.0f},
    {37, 39, "Left", "Delay", "left output tap 2", "floor(v * output length) samples", 0.0f, 0.0f},
    {38, 40, "Left", "Delay", "left output tap 3", "floor(v * output length) samples", 0.0f, 0.0f},
    {39, 41, "Left", "Delay", "left output tap 4", "floor(v * output length) samples", 0.0f, 0.0f},
    {40, 42, "Left", "Delay", "left output tap 5", "floor(v * output length) samples", 0.0f, 0.0f},
    {41, 43, "Left", "Delay", "left output tap 6", "floor(v * output length) samples", 0.0f, 0.0f},
    {42, 44, "Right", "Delay", "right output tap 1", "floor(v * output length) samples", 0.0f, 0.0f},
    {43, 45, "Right", "Delay", "right output tap 2", "floor(v * output length) samples", 0.0f, 0.0f},
    {44, 46, "Right", "Delay", "right output tap 3", "floor(v * output length) samples", 0.0f, 0.0f},
    {45, 47, "Right", "Delay", "right output tap 4", "floor(v * output length) samples", 0.0f, 0.0f},
    {46, 48, "Right", "Delay", "right output tap 5", "floor(v * output length) samples", 0.0f, 0.0f},
    {47, 49, "Right", "Delay", "right output tap 6", "floor(v * output length) samples", 0.0f, 0.0f},
    {48, 50, "HighOut", "", "filter high-pass mix", "gain v", 0.5f, 0.5f},
    {49, 51, "LowOut", "", "filter low-pass mix", "gain v", 0.5f, 0.5f},
    {50, 52, "BandOut", "", "filter band-pass mix", "gain v", 0.5f, 0.5f},
    {51, 57, "Colour", "", "damping inside every diffuser", "lowpass coefficient v", 0.5f, 0.5f},
    {52, 58, "FeedBack", "", "extra feedback of every diffuser", "gain v", 0.0f, 0.0f},
    {53, 54, "State Variable", "", "state-variable filter stage", "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {54, 55, "Early Reflections", "", "early reflections stage", "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {55, 53, "Tank", "", "tank stage", "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {56, 56, "Softener", "", "comb bank stage", "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {57, 59, "About", "", "the editor's picture button; no effect on the sound", "none", 0.0f, 0.0f},
}};
// clang-format on

// Record words that belong to no parameter: stored and never read.
struct UnboundWord {
    std::int32_t word;
    float initValue;
    float dattorroValue;
};
inline constexpr std::array<UnboundWord, 2> kUnboundWords{{{1, 0.99f, 0.99f}, {35, 0.1f, 0.1f}}};

// The order in which setProgram passes a record's values to setParameter.
// clang-format off
inline constexpr std::array<std::int32_t, kParameterCount> kProgramLoadOrder{{
    25, 26, 34, 35, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 11, 12, 15, 16, 21, 22, 23, 24,
    17, 18, 19, 20, 27, 28, 29, 30, 31, 32, 33, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47,
    48, 49, 50, 51, 53, 55, 54, 56, 52, 57,
}};
// clang-format on

namespace parameter_table_checks {

constexpr bool indicesMatchPositions() {
    for (std::int32_t i = 0; i < kParameterCount; ++i)
        if (kParameterTable[i].index != i) return false;
    return true;
}

// Every value word is held by exactly one parameter or one unbound word.
constexpr bool wordsCoverTheRecordOnce() {
    std::int32_t uses[kProgramWordCount] = {};
    for (const ParameterInfo& info : kParameterTable) {
        if (info.word < 0 || info.word >= kProgramWordCount) return false;
        ++uses[info.word];
    }
    for (const UnboundWord& unbound : kUnboundWords) ++uses[unbound.word];
    for (std::int32_t use : uses)
        if (use != 1) return false;
    return true;
}

constexpr bool loadOrderIsAPermutation() {
    bool seen[kParameterCount] = {};
    for (std::int32_t index : kProgramLoadOrder) {
        if (index < 0 || index >= kParameterCount || seen[index]) return false;
        seen[index] = true;
    }
    return true;
}

static_assert(indicesMatchPositions());
static_assert(wordsCoverTheRecordOnce());
static_assert(loadOrderIsAPermutation());

}  // namespace parameter_table_checks
