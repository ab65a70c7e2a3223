// The plug-in model every format reads: names and symbols hosts store,
// display texts and the values typed back, and the engine at other rates.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>
#include <string>

#include "reverb/parameter_table.h"
#include "reverb/reverb_engine.h"
#include "reverb/value_converters.h"

namespace {

std::string textOf(const ParameterInfo& info, float value) {
    char text[kConverterTextSize] = {};
    valueText(info.converter, value, text);
    return text;
}

}  // namespace

TEST(PluginModel, SymbolsAreLowerCaseIdentifiersAndNamesAreUniqueAndReadable) {
    std::set<std::string> names, symbols;
    for (const ParameterInfo& info : kParameterTable) {
        const std::string symbol = info.symbol;
        ASSERT_FALSE(symbol.empty());
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(symbol[0]))) << symbol;
        for (char c : symbol)
            EXPECT_TRUE(std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
                        c == '_')
                << symbol;
        names.insert(info.name);
        symbols.insert(symbol);
        EXPECT_LE(std::string(info.name).size(), 24u) << info.name;  // fits hosts' short name fields
    }
    EXPECT_EQ(names.size(), 58u);
    EXPECT_EQ(symbols.size(), 58u);
    // Stored in sessions: a rename here loses users' automation.
    EXPECT_STREQ(kParameterTable[kDiffusionGain12].symbol, "diffusion_gain_12");
    EXPECT_STREQ(kParameterTable[kWetLevel].symbol, "wet_output");
    EXPECT_STREQ(kParameterTable[kTankSwitch].symbol, "tank");
}

TEST(PluginModel, TypedTextGivesBackTheValueOfItsDisplayAtMinimumDefaultAndMaximum) {
    for (const ParameterInfo& info : kParameterTable) {
        if (info.kind != ParameterKind::kContinuous) continue;
        for (float value : {0.0f, info.initValue, 1.0f}) {
            const std::string shown = textOf(info, value);
            float parsed = -1.0f;
            ASSERT_TRUE(parseValueText(info.converter, shown.c_str(), parsed)) << info.name << " \"" << shown << "\"";
            // The text is rounded (whole ms, Hz, dB, per cent): it must show the same text again.
            EXPECT_EQ(textOf(info, parsed), shown) << info.name << " at " << value;
        }
    }
}

TEST(PluginModel, TypedTextWithOrWithoutItsUnitAndRefusals) {
    struct Case {
        ValueConverter converter;
        const char* text;
        bool accepted;
        float value;
    };
    const Case cases[] = {
        {msText90, "45", true, 0.5f},       {msText90, "45 ms", true, 0.5f},   {msText90, "45MS", true, 0.5f},
        {percentText, "50%", true, 0.5f},   {mText60, "30 m", true, 0.5f},     {msText200, "400 ms", true, 1.0f},
        {decibelText, "-oo", true, 0.0f},   {decibelText, "0 db", true, 1.0f}, {decibelText, "-6 dB", true, 0.501187f},
        {hertzText, "7350 Hz", true, 1.0f}, {hertzText, "0", true, 0.0f},      {nullptr, "0.25", true, 0.25f},
        {nullptr, "-3", true, 0.0f},        {msText90, "", false, 0.0f},       {msText90, "ms", false, 0.0f},
        {msText90, "45 Hz", false, 0.0f},   {nullptr, "nan", false, 0.0f},     {decibelText, "loud", false, 0.0f},
    };
    for (const Case& c : cases) {
        float value = 123.0f;
        EXPECT_EQ(parseValueText(c.converter, c.text, value), c.accepted) << c.text;
        if (c.accepted)
            EXPECT_NEAR(value, c.value, 1e-5f) << c.text;
        else
            EXPECT_EQ(value, 123.0f) << c.text;
    }
}

TEST(PluginModel, SwitchRuleTurnsOnOnlyAtOneAndOffOnlyAtZero) {
    for (bool wasOn : {false, true}) {
        EXPECT_FALSE(switchStateAfter(wasOn, 0.0f));
        EXPECT_FALSE(switchStateAfter(wasOn, -0.0f));
        EXPECT_TRUE(switchStateAfter(wasOn, 1.0f));
        for (float other : {0.5f, 0.999999f, -1.0f, 2.0f, NAN, INFINITY})
            EXPECT_EQ(switchStateAfter(wasOn, other), wasOn);
    }
}

TEST(ReverbEngine, LineLengthsKeepTheirMillisecondsAtTheHostsRate) {
    struct Case {
        float rate;
        std::int32_t diffuser, tankAllpass, tankDelay, output, comb;
    };
    const Case cases[] = {{44100.0f, 1984, 2646, 3969, 4410, 2500},
                          {48000.0f, 2160, 2880, 4320, 4800, 2721},
                          {96000.0f, 4320, 5760, 8640, 9600, 5442}};
    for (const Case& c : cases) {
        const ReverbEngine engine(c.rate);
        const EngineSizes& sizes = engine.sizes();
        EXPECT_EQ(sizes.diffuserLength, c.diffuser) << c.rate;
        EXPECT_EQ(sizes.tankAllpassLength, c.tankAllpass) << c.rate;
        EXPECT_EQ(sizes.tankDelayLength, c.tankDelay) << c.rate;
        EXPECT_EQ(sizes.outputLength, c.output) << c.rate;
        EXPECT_EQ(sizes.combCapacity, c.comb) << c.rate;
        // The longest comb line, 100 ms, always fits.
        EXPECT_GE(sizes.combCapacity, static_cast<std::int32_t>(sizes.halfRate * 0.1f)) << c.rate;
    }
}
