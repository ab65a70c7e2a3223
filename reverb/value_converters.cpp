#include "reverb/value_converters.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct ScaledTextFormat {
    double scale;
    const char* format;  // takes one int
};

enum ScaledText { kPercent, kMetres60, kMs90, kMs120, kMs180, kMs200 };

constexpr ScaledTextFormat kScaledTextFormats[] = {
    {100.0, "%d%%"}, {60.0, "%d m"}, {90.0, "%d ms"}, {120.0, "%d ms"}, {180.0, "%d ms"}, {200.0, "%d ms"},
};

// Sample rate of the frequency coefficients the hertz display inverts, whatever
// rate the host runs at.
constexpr double kCoefficientRate = 44100.0;
constexpr double kPi = 3.141592653589793;

constexpr char kMinusInfinityText[] = "  -oo   ";

// Truncation toward zero that stays defined for every double: values beyond
// the int32 range saturate and NaN gives 0, so a host value far outside 0..1
// still prints a number.
std::int32_t truncateToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

// A float times a scale of at most 8 bits fits a double's mantissa: the
// product is exact before it is truncated.
void printScaled(ScaledText kind, float value, char* text) {
    const ScaledTextFormat& entry = kScaledTextFormats[kind];
    std::snprintf(text, kConverterTextSize, entry.format, truncateToInt32(static_cast<double>(value) * entry.scale));
}

}  // namespace

void percentText(float value, char* text) { printScaled(kPercent, value, text); }
void mText60(float value, char* text) { printScaled(kMetres60, value, text); }
void msText90(float value, char* text) { printScaled(kMs90, value, text); }
void msText120(float value, char* text) { printScaled(kMs120, value, text); }
void msText180(float value, char* text) { printScaled(kMs180, value, text); }
void msText200(float value, char* text) { printScaled(kMs200, value, text); }

void decibelText(float value, char* text) {
    if (!(value > 0.0f)) {
        std::memcpy(text, kMinusInfinityText, sizeof kMinusInfinityText);
        return;
    }
    // +inf is shown as the largest float (771 db) rather than as the C
    // library's own spelling of infinity, which differs between runtimes.
    const double level = std::fmin(static_cast<double>(value), std::numeric_limits<float>::max());
    std::snprintf(text, kConverterTextSize, "%.0f db", 20.0 * std::log10(level));
}

void hertzText(float value, char* text) {
    // The coefficient reaches 2 at half the rate; beyond -2..2 asin would give
    // NaN, so the argument is held to -1..1 and such values show +-22050 Hz.
    // NaN stays NaN and truncates to 0.
    double sine = static_cast<double>(value) * 0.5;
    if (sine > 1.0) sine = 1.0;
    if (sine < -1.0) sine = -1.0;
    const double hertz = std::asin(sine) * kCoefficientRate / kPi;
    std::snprintf(text, kConverterTextSize, "%.0d Hz", truncateToInt32(hertz));
}

void valueText(ValueConverter converter, float value, char* text) {
    if (converter != nullptr)
        converter(value, text);
    else
        std::snprintf(text, kConverterTextSize, "%2.2f", static_cast<double>(value));
}

namespace {

float limitedToUnit(double value) { return static_cast<float>(value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value)); }

// The number at the start of text, and whether only the unit (or nothing)
// follows it; the unit's case does not matter ("db", "dB").
bool leadingNumber(const char* text, const char* unit, double& number) {
    char* end = nullptr;
    number = std::strtod(text, &end);
    if (end == text || !std::isfinite(number)) return false;
    while (*end == ' ') ++end;
    if (*end == '\0') return true;
    for (const char* u = unit; *u != '\0'; ++u, ++end)
        if (std::tolower(static_cast<unsigned char>(*end)) != std::tolower(static_cast<unsigned char>(*u)))
            return false;
    while (*end == ' ') ++end;
    return *end == '\0';
}

bool isBareUnit(const char* text, const char* unit) {
    while (*text == ' ') ++text;
    for (; *unit != '\0'; ++unit, ++text)
        if (std::tolower(static_cast<unsigned char>(*text)) != *unit) return false;
    while (*text == ' ') ++text;
    return *text == '\0';
}

bool isMinusInfinity(const char* text) {
    while (*text == ' ') ++text;
    return std::strncmp(text, "-oo", 3) == 0 || std::strncmp(text, "-inf", 4) == 0;
}

}  // namespace

namespace {

// Displays truncate: the float nearest a typed 29% or 7269 Hz can lie just
// below it and show 28% or 7268 Hz. Moves up, a float at a time, to the
// first value whose text shows at least the typed number.
float showingTypedNumber(ValueConverter converter, float value, double typed) {
    char shown[kConverterTextSize];
    for (int step = 0; step < 4096 && value < 1.0f; ++step) {
        valueText(converter, value, shown);
        char* end = nullptr;
        const double number = std::strtod(shown, &end);
        if (end == shown || number >= typed) return value;
        value = std::nextafter(value, 2.0f);
    }
    return value;
}

}  // namespace

bool parseValueText(ValueConverter converter, const char* text, float& value) {
    if (text == nullptr) return false;
    double number = 0.0;
    struct ScaledUnit {
        ValueConverter converter;
        ScaledText kind;
        const char* unit;
    };
    const ScaledUnit scaledUnits[] = {{percentText, kPercent, "%"}, {mText60, kMetres60, "m"},
                                      {msText90, kMs90, "ms"},      {msText120, kMs120, "ms"},
                                      {msText180, kMs180, "ms"},    {msText200, kMs200, "ms"}};
    for (const ScaledUnit& scaled : scaledUnits) {
        if (scaled.converter != converter) continue;
        if (!leadingNumber(text, scaled.unit, number)) return false;
        value = showingTypedNumber(converter, limitedToUnit(number / kScaledTextFormats[scaled.kind].scale), number);
        return true;
    }
    if (converter == decibelText) {
        if (isMinusInfinity(text)) {
            value = 0.0f;
            return true;
        }
        if (!leadingNumber(text, "db", number)) return false;
        value = limitedToUnit(std::pow(10.0, number / 20.0));
        return true;
    }
    if (converter == hertzText) {
        if (isBareUnit(text, "hz")) {  // how the display shows 0 Hz
            value = 0.0f;
            return true;
        }
        if (!leadingNumber(text, "hz", number)) return false;
        // The coefficient 2 sin(pi f / rate) reaches 1 at a sixth of the rate.
        const double hertz = std::fmin(std::fmax(number, 0.0), kCoefficientRate / 6.0);
        value = showingTypedNumber(converter, limitedToUnit(2.0 * std::sin(kPi * hertz / kCoefficientRate)), hertz);
        return true;
    }
    if (!leadingNumber(text, "", number)) return false;
    value = limitedToUnit(number);
    return true;
}
