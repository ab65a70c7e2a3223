// Which parameters a CLAP host sees, and by which ids: the 57 sound
// parameters of the table under their ParameterId (the ids sessions store,
// never renumbered), then the bypass. "About" is the editor's own state and
// no host parameter. Values reach the engine only through clampedValue.
//
// Threads: any; the map is constant.
#pragma once

#include <clap/clap.h>

#include <cstdint>

#include "reverb/parameter_table.h"

// After every table id, so that the table can grow without moving it.
constexpr clap_id kBypassParamId = 1000;

// Number of host parameters: the table's rows without "About", plus the bypass.
std::uint32_t hostParameterCount();
// The id of the host parameter at a list position; false past the end.
bool hostParameterIdAt(std::uint32_t position, clap_id& id);
// The table row of a sound parameter's id; null for the bypass and unknown ids.
const ParameterInfo* soundParameterOf(clap_id id);
bool isKnownHostParameter(clap_id id);
// A host's value as the engine takes it: 0 … 1, switches and the bypass
// exactly 0 or 1. False for NaN, which changes nothing.
bool clampedValue(clap_id id, double hostValue, float& value);
// The module path a host groups the parameter under: its section of the face.
const char* moduleOf(clap_id id);
