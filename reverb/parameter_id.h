// The 58 parameters by name. The value of each name is its index: the
// position of its row in kParameterTable, the VST 2 parameter number and the
// id every other format stores in its sessions, so it never changes.
#pragma once

#include <cstdint>

enum ParameterId : std::int32_t {
    kQuality,     // comb lines in use
    kAbsorption,  // comb feedback
    kBandwidth,   // input bandwidth lowpass
    kDiffuserTime1,
    kDiffuserTime2,
    kDiffuserTime3,
    kDiffuserTime4,
    kTankAllpassTimeA,  // "AllPass Time 5"
    kTankAllpassTimeB,  // "AllPass Time 7"
    kTankAllpassTimeC,  // "AllPass Time 6"
    kTankAllpassTimeD,  // "AllPass Time 8"
    kDiffusionGain12,
    kDiffusionGain34,
    kTankGainAB,
    kTankGainCD,
    kDamping1,
    kDamping2,
    kTankDelay1,
    kTankDelay2,
    kTankDelay3,
    kTankDelay4,
    kTankDecay1,
    kTankDecay2,
    kTankFeed1Into2,  // "Tank Decay 3"
    kTankFeed2Into1,  // "Tank Decay 4"
    kDryLevel,
    kWetLevel,
    kFilterCentre,
    kFilterResonance,
    kSourceLevel,
    kRoomWidth,
    kRoomLength,
    kSourceX,
    kSourceY,
    kListenerX,
    kListenerY,
    kLeftTap1,
    kLeftTap2,
    kLeftTap3,
    kLeftTap4,
    kLeftTap5,
    kLeftTap6,
    kRightTap1,
    kRightTap2,
    kRightTap3,
    kRightTap4,
    kRightTap5,
    kRightTap6,
    kHighMix,
    kLowMix,
    kBandMix,
    kColour,  // damping inside every diffuser
    kDiffuserFeedback,
    kFilterSwitch,       // state-variable filter stage
    kReflectionsSwitch,  // early reflections stage
    kTankSwitch,
    kCombsSwitch,
    kAbout,  // the editor's picture button; no effect on the sound
    kParameterIdEnd
};

constexpr std::int32_t kParameterCount = kParameterIdEnd;
static_assert(kParameterCount == 58);

// Indices from a host: whether one names a parameter (negative ones do not).
constexpr bool isParameterIndex(std::int32_t index) {
    return static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(kParameterCount);
}
