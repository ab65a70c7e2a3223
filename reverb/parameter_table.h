// The plug-in's 58 parameters as data, for every format: where each one is
// stored in a ProgramRecord, the label on the editor face, the name hosts list
// and the symbol they store it by, the face's section, the display text and
// unit, what it does, how the engine maps its value v, and its value in the
// two factory programs. The program store, the engine's switches, the
// editor, the format bindings and the docs generator all read this one table.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/parameter_id.h"
#include "reverb/value_converters.h"

constexpr std::int32_t kProgramWordCount = 60;  // value words of a ProgramRecord
constexpr std::int32_t kProgramCount = 2;

// Sections of the editor face; hosts that group parameters show these.
enum class Section : std::int32_t { kEarly, kInputDiffusion, kTank, kStateVariable, kDelay, kExtras, kOutput };
constexpr const char* kSectionNames[] = {"Early", "Input Diffusion", "Tank",  "State Variable",
                                         "Delay", "Extras",          "Output"};

enum class ParameterKind : std::int32_t {
    kContinuous,   // any value, mapped by the engine
    kStageSwitch,  // switches a stage: exactly 0 off, exactly 1 on, anything else leaves it
    kEditorState,  // "About": the editor's own, no effect on the sound
};

struct ParameterInfo {
    ParameterId id;          // its index, 0 … 57
    std::int32_t word;       // ProgramRecord word that holds the value
    const char* faceLabel;   // the text printed beside the control on the editor face
    const char* faceColumn;  // heading of the column the label stands under, or ""
    const char* name;        // unique among the 58, readable in a host's automation list
    const char* symbol;      // unique, a C identifier; hosts store sessions by it: never change one
    Section section;         // where it sits on the face
    ParameterKind kind;
    ValueConverter converter;  // the display text; null shows the value as "%2.2f"
    const char* unit;          // of the display text, or ""
    const char* meaning;       // what the parameter does
    const char* mapping;       // how the engine maps the value v, with the unit
    float initValue;           // in the factory program "Init"
    float dattorroValue;       // in the factory program "Dattorro"
};

// Lengths named in the mappings (at the engine's half rate): diffuser 90 ms,
// tank allpass 120 ms, tank delay 180 ms, output line 200 ms.
// clang-format off
inline constexpr std::array<ParameterInfo, kParameterCount> kParameterTable{{
    {kQuality, 4, "Quality", "", "Quality", "quality", Section::kEarly, ParameterKind::kContinuous, percentText, "%",
     "comb lines in use",
     "floor(20 * v) lines, 0 to 20", 1.0f, 0.6f},
    {kAbsorption, 2, "Absorption", "", "Absorption", "absorption", Section::kEarly, ParameterKind::kContinuous, percentText, "%",
     "comb feedback: gain of the 100 ms comb line; fixes the decay of all comb lines",
     "gain v; decay time -300 / log10(v) ms", 0.1f, 0.1f},
    {kBandwidth, 3, "BandDamp", "", "Band Damp", "band_damp", Section::kExtras, ParameterKind::kContinuous, hertzText, "Hz",
     "input bandwidth",
     "lowpass coefficient v", 1.0f, 0.5f},
    {kDiffuserTime1, 5, "AllPass Time 1", "", "AllPass Time 1", "allpass_time_1", Section::kInputDiffusion, ParameterKind::kContinuous, msText90, "ms",
     "diffuser 1 distance",
     "floor(v * diffuser length) samples", 0.5f, 0.05f},
    {kDiffuserTime2, 6, "AllPass Time 2", "", "AllPass Time 2", "allpass_time_2", Section::kInputDiffusion, ParameterKind::kContinuous, msText90, "ms",
     "diffuser 2 distance",
     "floor(v * diffuser length) samples", 0.5f, 0.04f},
    {kDiffuserTime3, 7, "AllPass Time 3", "", "AllPass Time 3", "allpass_time_3", Section::kInputDiffusion, ParameterKind::kContinuous, msText90, "ms",
     "diffuser 3 distance",
     "floor(v * diffuser length) samples", 0.5f, 0.14f},
    {kDiffuserTime4, 8, "AllPass Time 4", "", "AllPass Time 4", "allpass_time_4", Section::kInputDiffusion, ParameterKind::kContinuous, msText90, "ms",
     "diffuser 4 distance",
     "floor(v * diffuser length) samples", 0.5f, 0.1f},
    {kTankAllpassTimeA, 9, "AllPass Time 5", "", "AllPass Time 5", "allpass_time_5", Section::kTank, ParameterKind::kContinuous, msText120, "ms",
     "tank allpass A distance",
     "floor(v * tank allpass length) samples", 0.5f, 0.19f},
    {kTankAllpassTimeB, 10, "AllPass Time 7", "", "AllPass Time 7", "allpass_time_7", Section::kTank, ParameterKind::kContinuous, msText120, "ms",
     "tank allpass B distance",
     "floor(v * tank allpass length) samples", 0.5f, 0.5f},
    {kTankAllpassTimeC, 11, "AllPass Time 6", "", "AllPass Time 6", "allpass_time_6", Section::kTank, ParameterKind::kContinuous, msText120, "ms",
     "tank allpass C distance",
     "floor(v * tank allpass length) samples", 0.5f, 0.25f},
    {kTankAllpassTimeD, 12, "AllPass Time 8", "", "AllPass Time 8", "allpass_time_8", Section::kTank, ParameterKind::kContinuous, msText120, "ms",
     "tank allpass D distance",
     "floor(v * tank allpass length) samples", 0.5f, 0.74f},
    {kDiffusionGain12, 22, "AllPass Gain", "", "Diffusion Gain 1-2", "diffusion_gain_12", Section::kInputDiffusion, ParameterKind::kContinuous, decibelText, "dB",
     "gain of diffusers 1 and 2",
     "allpass gain v", 0.5f, 0.8f},
    {kDiffusionGain34, 23, "AllPass Gain", "", "Diffusion Gain 3-4", "diffusion_gain_34", Section::kInputDiffusion, ParameterKind::kContinuous, decibelText, "dB",
     "gain of diffusers 3 and 4",
     "allpass gain v", 0.5f, 0.8f},
    {kTankGainAB, 24, "AllPass Gain", "", "Tank Gain 5-7", "tank_gain_57", Section::kTank, ParameterKind::kContinuous, decibelText, "dB",
     "gain of tank allpasses A and B",
     "allpass gain 0.8 * v", 0.5f, 0.8f},
    {kTankGainCD, 25, "AllPass Gain", "", "Tank Gain 6-8", "tank_gain_68", Section::kTank, ParameterKind::kContinuous, decibelText, "dB",
     "gain of tank allpasses C and D",
     "allpass gain 0.8 * v", 0.5f, 0.8f},
    {kDamping1, 26, "Damping", "", "Damping 1", "damping_1", Section::kTank, ParameterKind::kContinuous, hertzText, "Hz",
     "damping of tank branch 1",
     "lowpass coefficient v", 0.99f, 0.3f},
    {kDamping2, 27, "Damping", "", "Damping 2", "damping_2", Section::kTank, ParameterKind::kContinuous, hertzText, "Hz",
     "damping of tank branch 2",
     "lowpass coefficient v", 0.99f, 0.3f},
    {kTankDelay1, 18, "Tank Delay 1", "", "Tank Delay 1", "tank_delay_1", Section::kTank, ParameterKind::kContinuous, msText180, "ms",
     "tank delay 1 tap",
     "floor(v * tank delay length) samples", 0.3f, 0.83f},
    {kTankDelay2, 19, "Tank Delay 2", "", "Tank Delay 2", "tank_delay_2", Section::kTank, ParameterKind::kContinuous, msText180, "ms",
     "tank delay 2 tap",
     "floor(v * tank delay length) samples", 0.3f, 0.79f},
    {kTankDelay3, 20, "Tank Delay 3", "", "Tank Delay 3", "tank_delay_3", Section::kTank, ParameterKind::kContinuous, msText180, "ms",
     "tank delay 3 tap",
     "floor(v * tank delay length) samples", 0.3f, 0.69f},
    {kTankDelay4, 21, "Tank Delay 4", "", "Tank Delay 4", "tank_delay_4", Section::kTank, ParameterKind::kContinuous, msText180, "ms",
     "tank delay 4 tap",
     "floor(v * tank delay length) samples", 0.3f, 0.59f},
    {kTankDecay1, 28, "Tank Decay 1", "", "Tank Decay 1", "tank_decay_1", Section::kTank, ParameterKind::kContinuous, nullptr, "",
     "decay of branch 1, after its damping",
     "gain -v", 0.4f, 0.4f},
    {kTankDecay2, 29, "Tank Decay 2", "", "Tank Decay 2", "tank_decay_2", Section::kTank, ParameterKind::kContinuous, nullptr, "",
     "decay of branch 2, after its damping",
     "gain -v", 0.4f, 0.4f},
    {kTankFeed1Into2, 13, "Tank Decay 3", "", "Tank Decay 3", "tank_decay_3", Section::kTank, ParameterKind::kContinuous, nullptr, "",
     "feed from the end of branch 1 into branch 2",
     "gain v", 0.5f, 0.5f},
    {kTankFeed2Into1, 14, "Tank Decay 4", "", "Tank Decay 4", "tank_decay_4", Section::kTank, ParameterKind::kContinuous, nullptr, "",
     "feed from the end of branch 2 into branch 1",
     "gain v", 0.5f, 0.5f},
    {kDryLevel, 15, "DryOutput", "", "Dry Output", "dry_output", Section::kOutput, ParameterKind::kContinuous, decibelText, "dB",
     "dry level: the mono input in the output mix",
     "gain v", 0.5f, 0.0f},
    {kWetLevel, 16, "WetOutput", "", "Wet Output", "wet_output", Section::kOutput, ParameterKind::kContinuous, decibelText, "dB",
     "wet level: the processed signal in the output mix",
     "gain v", 0.5f, 0.5f},
    {kFilterCentre, 36, "CenterHz", "", "Center Hz", "center_hz", Section::kStateVariable, ParameterKind::kContinuous, hertzText, "Hz",
     "filter frequency",
     "state-variable coefficient f = v", 0.6f, 0.6f},
    {kFilterResonance, 37, "Resonance", "", "Resonance", "resonance", Section::kStateVariable, ParameterKind::kContinuous, percentText, "%",
     "filter input scale and damping",
     "state-variable coefficient q = v", 0.99f, 0.99f},
    {kSourceLevel, 30, "Source Vol.", "", "Source Volume", "source_volume", Section::kEarly, ParameterKind::kContinuous, nullptr, "",
     "reflection level: scales all eight reflection gains",
     "gain v * weight * 100 / distance in metres", 0.1f, 0.1f},
    {kRoomWidth, 31, "Room Width", "", "Room Width", "room_width", Section::kEarly, ParameterKind::kContinuous, mText60, "m",
     "room width",
     "50 * v + 10 metres", 0.0f, 0.0f},
    {kRoomLength, 32, "Room Length", "", "Room Length", "room_length", Section::kEarly, ParameterKind::kContinuous, mText60, "m",
     "room depth",
     "50 * v + 10 metres", 0.0f, 0.0f},
    {kSourceX, 33, "Source X", "", "Source X", "source_x", Section::kEarly, ParameterKind::kContinuous, nullptr, "",
     "source x",
     "v * room width", 0.1f, 0.1f},
    {kSourceY, 34, "Source Y", "", "Source Y", "source_y", Section::kEarly, ParameterKind::kContinuous, nullptr, "",
     "source y",
     "v * room depth", 0.1f, 0.1f},
    {kListenerX, 17, "Listener X", "", "Listener X", "listener_x", Section::kEarly, ParameterKind::kContinuous, percentText, "%",
     "listener x",
     "v * room width", 0.2f, 0.2f},
    {kListenerY, 0, "Listener Y", "", "Listener Y", "listener_y", Section::kEarly, ParameterKind::kContinuous, percentText, "%",
     "listener y",
     "v * room depth", 0.3f, 0.3f},
    {kLeftTap1, 38, "Left", "Delay", "Delay Left 1", "delay_left_1", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 1",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kLeftTap2, 39, "Left", "Delay", "Delay Left 2", "delay_left_2", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 2",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kLeftTap3, 40, "Left", "Delay", "Delay Left 3", "delay_left_3", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 3",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kLeftTap4, 41, "Left", "Delay", "Delay Left 4", "delay_left_4", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 4",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kLeftTap5, 42, "Left", "Delay", "Delay Left 5", "delay_left_5", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 5",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kLeftTap6, 43, "Left", "Delay", "Delay Left 6", "delay_left_6", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "left output tap 6",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap1, 44, "Right", "Delay", "Delay Right 1", "delay_right_1", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 1",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap2, 45, "Right", "Delay", "Delay Right 2", "delay_right_2", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 2",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap3, 46, "Right", "Delay", "Delay Right 3", "delay_right_3", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 3",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap4, 47, "Right", "Delay", "Delay Right 4", "delay_right_4", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 4",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap5, 48, "Right", "Delay", "Delay Right 5", "delay_right_5", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 5",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kRightTap6, 49, "Right", "Delay", "Delay Right 6", "delay_right_6", Section::kDelay, ParameterKind::kContinuous, msText200, "ms",
     "right output tap 6",
     "floor(v * output length) samples", 0.0f, 0.0f},
    {kHighMix, 50, "HighOut", "", "High Out", "high_out", Section::kStateVariable, ParameterKind::kContinuous, percentText, "%",
     "filter high-pass mix",
     "gain v", 0.5f, 0.5f},
    {kLowMix, 51, "LowOut", "", "Low Out", "low_out", Section::kStateVariable, ParameterKind::kContinuous, percentText, "%",
     "filter low-pass mix",
     "gain v", 0.5f, 0.5f},
    {kBandMix, 52, "BandOut", "", "Band Out", "band_out", Section::kStateVariable, ParameterKind::kContinuous, percentText, "%",
     "filter band-pass mix",
     "gain v", 0.5f, 0.5f},
    {kColour, 57, "Colour", "", "Colour", "colour", Section::kExtras, ParameterKind::kContinuous, hertzText, "Hz",
     "damping inside every diffuser",
     "lowpass coefficient v", 0.5f, 0.5f},
    {kDiffuserFeedback, 58, "FeedBack", "", "Feedback", "feedback", Section::kExtras, ParameterKind::kContinuous, nullptr, "",
     "extra feedback of every diffuser",
     "gain v", 0.0f, 0.0f},
    {kFilterSwitch, 54, "State Variable", "", "State Variable", "state_variable", Section::kExtras, ParameterKind::kStageSwitch, nullptr, "",
     "state-variable filter stage",
     "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {kReflectionsSwitch, 55, "Early Reflections", "", "Early Reflections", "early_reflections", Section::kExtras, ParameterKind::kStageSwitch, nullptr, "",
     "early reflections stage",
     "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {kTankSwitch, 53, "Tank", "", "Tank", "tank", Section::kExtras, ParameterKind::kStageSwitch, nullptr, "",
     "tank stage",
     "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {kCombsSwitch, 56, "Softener", "", "Softener", "softener", Section::kExtras, ParameterKind::kStageSwitch, nullptr, "",
     "comb bank stage",
     "switch: exactly 0 off, exactly 1 on, else unchanged", 1.0f, 1.0f},
    {kAbout, 59, "About", "", "About", "about", Section::kExtras, ParameterKind::kEditorState, nullptr, "",
     "the editor's picture button; no effect on the sound",
     "none", 0.0f, 0.0f},
}};
// clang-format on

// Whether a stage switch is on after `value` was set: exactly 0 (either sign)
// turns it off, exactly 1 on; anything else leaves it as it was.
constexpr bool switchStateAfter(bool wasOn, float value) {
    if (value == 0.0f) return false;
    if (value == 1.0f) return true;
    return wasOn;
}

// Record words that belong to no parameter: stored and never read.
struct UnboundWord {
    std::int32_t word;
    float initValue;
    float dattorroValue;
};
inline constexpr std::array<UnboundWord, 2> kUnboundWords{{{1, 0.99f, 0.99f}, {35, 0.1f, 0.1f}}};

// The order in which a program change passes a record's values to setParameter.
// clang-format off
inline constexpr std::array<ParameterId, kParameterCount> kProgramLoadOrder{{
    kDryLevel, kWetLevel, kListenerX, kListenerY, kQuality, kAbsorption, kBandwidth,
    kDiffuserTime1, kDiffuserTime2, kDiffuserTime3, kDiffuserTime4,
    kTankAllpassTimeA, kTankAllpassTimeB, kTankAllpassTimeC, kTankAllpassTimeD,
    kTankGainAB, kTankGainCD, kDiffusionGain12, kDiffusionGain34, kDamping1, kDamping2,
    kTankDecay1, kTankDecay2, kTankFeed1Into2, kTankFeed2Into1,
    kTankDelay1, kTankDelay2, kTankDelay3, kTankDelay4, kFilterCentre, kFilterResonance,
    kSourceLevel, kRoomWidth, kRoomLength, kSourceX, kSourceY,
    kLeftTap1, kLeftTap2, kLeftTap3, kLeftTap4, kLeftTap5, kLeftTap6,
    kRightTap1, kRightTap2, kRightTap3, kRightTap4, kRightTap5, kRightTap6,
    kHighMix, kLowMix, kBandMix, kColour, kFilterSwitch, kTankSwitch, kReflectionsSwitch, kCombsSwitch,
    kDiffuserFeedback, kAbout,
}};
// clang-format on

namespace parameter_table_checks {

constexpr bool idsMatchPositions() {
    for (std::int32_t i = 0; i < kParameterCount; ++i)
        if (kParameterTable[i].id != i) return false;
    return true;
}

// Hosts list parameters by name and store them by symbol: both must be unique.
constexpr bool sameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}
constexpr bool namesAndSymbolsUnique() {
    for (std::int32_t i = 0; i < kParameterCount; ++i)
        for (std::int32_t j = i + 1; j < kParameterCount; ++j)
            if (sameText(kParameterTable[i].name, kParameterTable[j].name) ||
                sameText(kParameterTable[i].symbol, kParameterTable[j].symbol))
                return false;
    return true;
}

constexpr bool switchesAreTheStageSwitches() {
    for (const ParameterInfo& info : kParameterTable) {
        const bool stageSwitch = info.id >= kFilterSwitch && info.id <= kCombsSwitch;
        if (stageSwitch != (info.kind == ParameterKind::kStageSwitch)) return false;
    }
    return kParameterTable[kAbout].kind == ParameterKind::kEditorState;
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

static_assert(idsMatchPositions());
static_assert(namesAndSymbolsUnique());
static_assert(switchesAreTheStageSwitches());
static_assert(wordsCoverTheRecordOnce());
static_assert(loadOrderIsAPermutation());

}  // namespace parameter_table_checks

// A parameter's value in factory program 0 ("Init") or 1 ("Dattorro"); any
// other number is taken as "Init".
constexpr float factoryValue(std::int32_t program, ParameterId id) {
    return program == 1 ? kParameterTable[id].dattorroValue : kParameterTable[id].initValue;
}
