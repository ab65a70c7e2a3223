// The controller as a host lists and edits it: the parameters with their
// texts both ways, the program list and program change, the handler's life.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "reverb/parameter_table.h"
#include "tests/vst3/plugin_under_test.h"
#include "vst3/vst3_ids.h"
#include "vst3_interface/utf16_text.h"

namespace {

std::string ascii(const char16_t* text) {
    char out[Utf16Text::kString128Size];
    Utf16Text::toAscii(text, out, sizeof out);
    return out;
}

Steinberg_Vst_ParameterInfo infoAt(PluginUnderTest& plugin, std::int32_t index) {
    Steinberg_Vst_ParameterInfo info{};
    EXPECT_EQ(plugin.controller->lpVtbl->getParameterInfo(plugin.controller, index, &info), Steinberg_kResultOk);
    return info;
}

TEST(Vst3Controller, ListsTheSoundParametersOnceWithBypassAndProgram) {
    PluginUnderTest plugin;
    const std::int32_t count = plugin.controller->lpVtbl->getParameterCount(plugin.controller);
    ASSERT_EQ(count, kParameterCount - 1 + 2);
    std::set<Steinberg_Vst_ParamID> ids;
    std::set<std::string> titles;
    int bypasses = 0;
    for (std::int32_t index = 0; index < count; ++index) {
        const Steinberg_Vst_ParameterInfo info = infoAt(plugin, index);
        ids.insert(info.id);
        titles.insert(ascii(info.title));
        bypasses += (info.flags & Steinberg_Vst_ParameterInfo_ParameterFlags_kIsBypass) != 0;
        if (info.id < kParameterCount) {
            const bool isSwitch = kParameterTable[info.id].kind == ParameterKind::kStageSwitch;
            EXPECT_EQ(info.stepCount, isSwitch ? 1 : 0) << ascii(info.title);
            EXPECT_EQ(info.defaultNormalizedValue, kParameterTable[info.id].initValue) << ascii(info.title);
            EXPECT_EQ(plugin.controller->lpVtbl->getParamNormalized(plugin.controller, info.id),
                      kParameterTable[info.id].initValue);
        }
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(count)) << "ids not unique";
    EXPECT_EQ(titles.size(), static_cast<std::size_t>(count)) << "titles not unique";
    EXPECT_EQ(ids.count(kAbout), 0u) << "the editor's own state listed";
    EXPECT_EQ(ids.count(kBypassParamId), 1u);
    EXPECT_EQ(ids.count(kProgramParamId), 1u);
    EXPECT_EQ(bypasses, 1);
    Steinberg_Vst_ParameterInfo beyond{};
    EXPECT_NE(plugin.controller->lpVtbl->getParameterInfo(plugin.controller, count, &beyond), Steinberg_kResultOk);
}

TEST(Vst3Controller, ValueTextsBothWays) {
    PluginUnderTest plugin;
    auto* controller = plugin.controller;
    const struct {
        Steinberg_Vst_ParamID id;
        double value;
        const char* text;  // shown beside the units
    } shown[] = {
        {kDiffuserTime1, 0.5, "45"},  {kBandwidth, 1.0, "7350"},          {kDryLevel, 0.5, "-6"},
        {kQuality, 0.6, "60"},        {kTankDecay1, 0.4, "0.40"},         {kFilterSwitch, 1.0, "on"},
        {kBypassParamId, 0.0, "off"}, {kProgramParamId, 1.0, "Dattorro"},
    };
    for (const auto& c : shown) {
        Steinberg_Vst_String128 text{};
        ASSERT_EQ(controller->lpVtbl->getParamStringByValue(controller, c.id, c.value, text), Steinberg_kResultOk);
        EXPECT_EQ(ascii(text), c.text) << "parameter " << c.id;
    }
    const struct {
        Steinberg_Vst_ParamID id;
        const char16_t* typed;
        double expected;
    } typed[] = {
        {kDryLevel, u"-oo", 0.0},        {kFilterSwitch, u"off", 0.0},
        {kBypassParamId, u"On", 1.0},    {kProgramParamId, u"dattorro", 1.0},
        {kProgramParamId, u"Init", 0.0}, {kQuality, u"100 %", 1.0},
    };
    for (const auto& c : typed) {
        double value = -1.0;
        std::u16string text = c.typed;
        ASSERT_EQ(controller->lpVtbl->getParamValueByString(controller, c.id, text.data(), &value),
                  Steinberg_kResultOk);
        EXPECT_DOUBLE_EQ(value, c.expected) << "parameter " << c.id;
    }
    // A typed display text comes back as the same text.
    double value = 0.0;
    std::u16string fortyFive = u"45 ms";
    ASSERT_EQ(controller->lpVtbl->getParamValueByString(controller, kDiffuserTime1, fortyFive.data(), &value),
              Steinberg_kResultOk);
    Steinberg_Vst_String128 text{};
    controller->lpVtbl->getParamStringByValue(controller, kDiffuserTime1, value, text);
    EXPECT_EQ(ascii(text), "45");

    std::u16string garbage = u"loud";
    EXPECT_NE(controller->lpVtbl->getParamValueByString(controller, kDryLevel, garbage.data(), &value),
              Steinberg_kResultOk);
    EXPECT_NE(controller->lpVtbl->getParamStringByValue(controller, kAbout, 0.0, text), Steinberg_kResultOk);
    EXPECT_NE(controller->lpVtbl->setParamNormalized(controller, 4242, 0.5), Steinberg_kResultOk);
}

TEST(Vst3Controller, ProgramListAndProgramChange) {
    PluginUnderTest plugin;
    Steinberg_Vst_ProgramListInfo list{};
    ASSERT_EQ(plugin.units->lpVtbl->getProgramListCount(plugin.units), 1);
    ASSERT_EQ(plugin.units->lpVtbl->getProgramListInfo(plugin.units, 0, &list), Steinberg_kResultOk);
    ASSERT_EQ(list.programCount, 2);
    const char* names[] = {"Init", "Dattorro"};
    for (std::int32_t program = 0; program < 2; ++program) {
        Steinberg_Vst_String128 name{};
        ASSERT_EQ(plugin.units->lpVtbl->getProgramName(plugin.units, list.id, program, name), Steinberg_kResultOk);
        EXPECT_EQ(ascii(name), names[program]);
    }
    Steinberg_Vst_UnitInfo root{};
    ASSERT_EQ(plugin.units->lpVtbl->getUnitInfo(plugin.units, 0, &root), Steinberg_kResultOk);
    EXPECT_EQ(root.programListId, list.id);

    RecordingHandler handler;
    auto* controller = plugin.controller;
    controller->lpVtbl->setComponentHandler(controller, handler.handler());
    ASSERT_EQ(controller->lpVtbl->setParamNormalized(controller, kProgramParamId, 1.0), Steinberg_kResultOk);
    EXPECT_EQ(controller->lpVtbl->getParamNormalized(controller, kDamping1), kParameterTable[kDamping1].dattorroValue);
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0], "restart " + std::to_string(Steinberg_Vst_RestartFlags_kParamValuesChanged));

    // Edits stay with their program.
    controller->lpVtbl->setParamNormalized(controller, kDamping1, 0.25);
    controller->lpVtbl->setParamNormalized(controller, kProgramParamId, 0.0);
    EXPECT_EQ(controller->lpVtbl->getParamNormalized(controller, kDamping1), kParameterTable[kDamping1].initValue);
    controller->lpVtbl->setParamNormalized(controller, kProgramParamId, 1.0);
    EXPECT_EQ(controller->lpVtbl->getParamNormalized(controller, kDamping1), 0.25);
}

TEST(Vst3Controller, HandlerIsHeldUntilTerminate) {
    RecordingHandler handler;
    {
        PluginUnderTest plugin;
        plugin.controller->lpVtbl->setComponentHandler(plugin.controller, handler.handler());
        EXPECT_EQ(handler.references, 1);
    }
    EXPECT_EQ(handler.references, 0);
}

}  // namespace
