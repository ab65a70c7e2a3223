// The built-in dry demo: a short phrase synthesized in code, so that a render
// needs no input file. A click, six plucked notes (Karplus-Strong) panned
// across the stereo field, a burst of noise, then silence for the reverb to
// ring into. Fixed seed and plain arithmetic only (no libm transcendentals):
// the same samples on every build and every run.
#pragma once

#include "host/audio/stereo_audio.h"

constexpr int kDemoSampleRate = 44100;
constexpr double kDemoSeconds = 4.0;
constexpr float kDemoPeak = 0.9f;

StereoAudio demoSignal();
