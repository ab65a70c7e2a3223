#include "host/loader/plugin_setup.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/host/fake_effect.h"

namespace {

TEST(PluginSetup, ParsesIndexEqualsValue) {
    struct Good {
        const char* text;
        std::int32_t index;
        float value;
    };
    for (const Good& good : {Good{"3=0.5", 3, 0.5f}, Good{"0=0", 0, 0.0f}, Good{"57=1", 57, 1.0f},
                             Good{"12=.25", 12, 0.25f}, Good{"7=1e-3", 7, 0.001f}}) {
        const ParameterSetting setting = parseParameterSetting(good.text);
        EXPECT_EQ(setting.index, good.index) << good.text;
        EXPECT_EQ(setting.value, good.value) << good.text;
    }
    for (const char* bad : {"3", "=0.5", "a=0.5", "-1=0.5", "+3=0.5", " 3=0.5", "3=", "3=abc", "3=0.5x", "3=nan",
                            "3=inf", "3=1.5", "3=-0.1", "3=0.5=1"}) {
        try {
            parseParameterSetting(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const std::runtime_error& failure) {
            EXPECT_NE(std::string(failure.what()).find(bad), std::string::npos) << "names the text: " << failure.what();
        }
    }
}

TEST(PluginSetup, FindsProgramsByNumberOrNameInAnyCase) {
    for (bool indexed : {true, false}) {  // plug-ins without effGetProgramNameIndexed too
        FakeEffect fake;
        fake.indexedNames = indexed;
        EXPECT_EQ(findProgram(fake.record, "Init"), 0);
        EXPECT_EQ(findProgram(fake.record, "dattorro"), 1);
        EXPECT_EQ(findProgram(fake.record, "1"), 1);
        EXPECT_EQ(fake.program, 0) << "looking names up leaves the current program";
        EXPECT_EQ(programName(fake.record, 1), "Dattorro");
        for (const char* unknown : {"2", "Plate", "", "-1"}) {
            try {
                findProgram(fake.record, unknown);
                ADD_FAILURE() << unknown << " was found";
            } catch (const std::runtime_error& failure) {
                EXPECT_NE(std::string(failure.what()).find("\"Dattorro\""), std::string::npos) << failure.what();
            }
        }
    }
}

TEST(PluginSetup, AppliesTheProgramThenTheSettingsInOrder) {
    FakeEffect fake;
    applyProgramAndSettings(fake.record, "Dattorro", {{5, 0.25f}, {57, 1.0f}, {5, 0.5f}});
    EXPECT_EQ(fake.program, 1);
    const std::vector<std::pair<std::int32_t, float>> expected = {{5, 0.25f}, {57, 1.0f}, {5, 0.5f}};
    EXPECT_EQ(fake.parameterCalls, expected);
}

TEST(PluginSetup, RefusesAnIndexOutsideTheParametersBeforeSettingAnything) {
    FakeEffect fake;
    EXPECT_THROW(applyProgramAndSettings(fake.record, "Dattorro", {{5, 0.25f}, {58, 0.5f}}), std::runtime_error);
    EXPECT_THROW(applyProgramAndSettings(fake.record, "Nothing", {{5, 0.25f}}), std::runtime_error);
    EXPECT_EQ(fake.program, 0);
    EXPECT_TRUE(fake.parameterCalls.empty());
}

}  // namespace
