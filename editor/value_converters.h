// The texts the editor's value displays show under their knobs. Each converter
// has the display's ValueConverter form: it takes the knob's normalised value
// and fills a 256-byte buffer with a zero-terminated text. They keep no state
// and may be called whenever a display is drawn.
#pragma once

#include <cstddef>

// Size of the buffer every display hands its converter.
constexpr std::size_t kConverterTextSize = 256;

// Scaled integers: the value times a scale, truncated toward zero, so the
// float nearest 0.29 (slightly below it) shows 28%.
void percentText(float value, char* text);  // 1.0 shows "100%"
void mText60(float value, char* text);      // 1.0 shows "60 m"
void msText90(float value, char* text);     // 1.0 shows "90 ms"
void msText120(float value, char* text);    // 1.0 shows "120 ms"
void msText180(float value, char* text);    // 1.0 shows "180 ms"
void msText200(float value, char* text);    // 1.0 shows "200 ms"

// 20 log10(value) to the nearest whole decibel; "  -oo   " for values not
// above 0, NaN included.
void decibelText(float value, char* text);

// The frequency f of a coefficient value = 2 sin(pi f / 44100), truncated to
// whole hertz; below 1 Hz only " Hz" (the integer 0 printed with precision 0).
void hertzText(float value, char* text);
