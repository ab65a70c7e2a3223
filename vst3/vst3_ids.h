// The identifiers hosts store sessions and projects by. Chosen once: never
// change one, or every saved session loses the plug-in or its automation.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>

#include "reverb/parameter_id.h"

// The audio effect's class: "Rplt" and three random words. The build reads
// this line for moduleinfo.json's CID: keep it on one line.
constexpr std::uint32_t kReverbClassIdWords[4] = {0x52706C74, 0x9E3B4C17, 0xA85D2F60, 0x1C7B94E3};
inline const Steinberg_TUID kReverbClassId =
    SMTG_INLINE_UID(kReverbClassIdWords[0], kReverbClassIdWords[1], kReverbClassIdWords[2], kReverbClassIdWords[3]);

// The sound parameters keep their ParameterId (0 … 56) as parameter id;
// these two follow far above them so that the model may grow.
constexpr Steinberg_Vst_ParamID kBypassParamId = 1000;
constexpr Steinberg_Vst_ParamID kProgramParamId = 1001;

// The root unit's program list: "Init" and "Dattorro".
constexpr Steinberg_Vst_ProgramListID kFactoryProgramListId = 1;
