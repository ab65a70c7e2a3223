// The reverb's length for the user's guide: the impulse response of each
// factory program through the plug-in and its energy decay curve, drawn as PNG.
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

// Draws the first `seconds` of the curves (impulse-response peaks per column,
// energy decay) to a PNG file. Measure longer than you draw: the decay curve of
// a truncated response falls off at its end.
bool writeDecayPlot(const std::vector<DecayCurve>& curves, float sampleRate, double seconds, const std::string& path);
