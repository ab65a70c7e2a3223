#include "reverb/value_converters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

using Converter = void (*)(float, char*);

constexpr char kUnwritten = '\x7f';

// Runs a converter on a buffer pre-filled with a marker and checks that it
// wrote a terminated text and nothing past the terminator.
std::string convert(Converter converter, float value) {
    char text[kConverterTextSize];
    std::memset(text, kUnwritten, sizeof text);
    converter(value, text);
    const void* terminator = std::memchr(text, '\0', sizeof text);
    if (terminator == nullptr) return "<unterminated>";
    const std::size_t length = static_cast<const char*>(terminator) - text;
    for (std::size_t i = length + 1; i < sizeof text; ++i)
        if (text[i] != kUnwritten) return "<wrote past its text>";
    return std::string(text, length);
}

struct ConverterCase {
    const char* name;
    Converter converter;
    float value;
    const char* expected;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInfinity = std::numeric_limits<float>::infinity();

void expectAll(const ConverterCase* begin, const ConverterCase* end) {
    for (const ConverterCase* c = begin; c != end; ++c)
        EXPECT_EQ(convert(c->converter, c->value), c->expected) << c->name << "(" << c->value << ")";
}

TEST(ValueConverters, ShowTheValuesInTheirUnits) {
    const ConverterCase cases[] = {
        // Truncated toward zero: each of these floats lies just below its decimal.
        {"percentText", percentText, 0.58f, "57%"},
        {"percentText", percentText, 0.07f, "7%"},
        {"percentText", percentText, 0.29f, "28%"},
        {"percentText", percentText, 1.0f, "100%"},
        {"percentText", percentText, 0.0f, "0%"},
        {"mText60", mText60, 0.5f, "30 m"},
        {"mText60", mText60, 1.0f, "60 m"},
        {"msText90", msText90, 1.0f, "90 ms"},
        {"msText90", msText90, 0.5f, "45 ms"},
        {"msText120", msText120, 1.0f, "120 ms"},
        {"msText180", msText180, 1.0f, "180 ms"},
        {"msText200", msText200, 1.0f, "200 ms"},
        {"msText200", msText200, 0.0f, "0 ms"},
        {"decibelText", decibelText, 0.0f, "  -oo   "},
        {"decibelText", decibelText, 1.0f, "0 db"},
        {"decibelText", decibelText, 0.5f, "-6 db"},
        {"decibelText", decibelText, 0.1f, "-20 db"},
        {"decibelText", decibelText, 0.001f, "-60 db"},
        // 20 log10(1e-30) = -600; the smallest float, 1.4e-45, gives -897.07.
        {"decibelText", decibelText, 1e-30f, "-600 db"},
        {"decibelText", decibelText, std::numeric_limits<float>::denorm_min(), "-897 db"},
        {"decibelText", decibelText, kNaN, "  -oo   "},
        {"decibelText", decibelText, -0.5f, "  -oo   "},
        {"hertzText", hertzText, 1.0f, "7350 Hz"},
        {"hertzText", hertzText, 0.5f, "3546 Hz"},
        {"hertzText", hertzText, 0.25f, "1759 Hz"},
        {"hertzText", hertzText, 0.1f, "702 Hz"},
        {"hertzText", hertzText, 0.01f, "70 Hz"},
        // Below 2 sin(pi / 44100) = 0.0001425 the frequency is under 1 Hz.
        {"hertzText", hertzText, 0.0f, " Hz"},
        {"hertzText", hertzText, 0.0001f, " Hz"},
        {"hertzText", hertzText, 0.00015f, "1 Hz"},
    };
    expectAll(std::begin(cases), std::end(cases));
}

// Hosts may send any float; every one of them must still give a short, defined text.
TEST(ValueConverters, StayDefinedFarOutsideTheRange) {
    const ConverterCase cases[] = {
        {"percentText", percentText, kNaN, "0%"},
        {"percentText", percentText, 1e30f, "2147483647%"},
        {"percentText", percentText, -1e30f, "-2147483648%"},
        {"percentText", percentText, kInfinity, "2147483647%"},
        {"percentText", percentText, -kInfinity, "-2147483648%"},
        {"msText200", msText200, -0.5f, "-100 ms"},
        {"msText200", msText200, -0.001f, "0 ms"},
        // The coefficient 2 is half the rate; anything beyond is held there.
        {"hertzText", hertzText, 2.0f, "22050 Hz"},
        {"hertzText", hertzText, 5.0f, "22050 Hz"},
        {"hertzText", hertzText, kInfinity, "22050 Hz"},
        {"hertzText", hertzText, -5.0f, "-22050 Hz"},
        {"hertzText", hertzText, kNaN, " Hz"},
        // 20 log10(3.4028e38) = 770.64; infinity is shown as the largest float.
        {"decibelText", decibelText, std::numeric_limits<float>::max(), "771 db"},
        {"decibelText", decibelText, kInfinity, "771 db"},
        {"decibelText", decibelText, -kInfinity, "  -oo   "},
    };
    expectAll(std::begin(cases), std::end(cases));
}

}  // namespace
