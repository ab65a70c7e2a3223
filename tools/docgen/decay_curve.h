// The reverb's length for the user's guide: the impulse response of each
// factory program through the plug-in and its energy decay curve, as CSV for
// tools/decay-plot to draw.
#pragma once

#include <string>
#include <vector>

#include "host/loader/hosted_plugin.h"

struct DecayCurve {
    std::string programName;
    std::vector<float> impulseResponse;  // left output, one sample per frame
    std::vector<double> energyDecayDb;   // backward-integrated energy, 0 dB at the start
    double secondsTo60Db;                // first time the decay curve reaches -60 dB; <0 if never
};

// Renders a unit impulse (both inputs) through program `program` for `seconds`.
DecayCurve measureDecay(const HostedPlugin& plugin, int program, double seconds, float sampleRate);

// Writes the first `seconds` of the curves as CSV, one row per millisecond:
// time_s, then per program "<name> peak_db" (the response's peak over that
// millisecond) and "<name> energy_db" (the decay curve), floored at -90 dB.
// Measure longer than you write: the decay curve of a truncated response falls
// off at its end.
bool writeDecayCsv(const std::vector<DecayCurve>& curves, float sampleRate, double seconds, const std::string& path);
