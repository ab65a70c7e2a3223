// The texts the editor's value displays show under their knobs, which every
// format also shows hosts. Each converter takes the parameter's normalised
// value and fills a 256-byte buffer with a zero-terminated text. They keep no
// state and may be called from any thread.
#pragma once

#include <cstddef>

// Size of the buffer every display hands its converter.
constexpr std::size_t kConverterTextSize = 256;

using ValueConverter = void (*)(float value, char* text);

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

// The text of a value as a host shows it: the converter's, or "%2.2f" for none.
void valueText(ValueConverter converter, float value, char* text);

// The value whose text a user typed, for a converter's kind of text: a number
// with or without the unit ("45", "45 ms"; "-6 db", "-oo" for silence;
// "3546 Hz"), limited to 0 … 1. False, with value untouched, for a text that
// is no such number.
bool parseValueText(ValueConverter converter, const char* text, float& value);
