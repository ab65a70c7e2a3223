// The state hosts keep in their sessions: saved and restored it gives the
// same values and the same sound; a damaged one is refused and changes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/vst3/plugin_under_test.h"
#include "vst3/vst3_ids.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A plug-in that differs from a new one everywhere a state reaches: both
// programs edited, the second current, bypass on.
void editEverywhere(PluginUnderTest& plugin) {
    plugin.set(kWetLevel, 0.8);
    plugin.set(kRoomWidth, 0.3);
    plugin.set(kProgramParamId, 1.0);
    plugin.set(kLeftTap1, 0.4);
    plugin.set(kTankSwitch, 0.0);
    plugin.set(kBypassParamId, 1.0);
}

TEST(Vst3State, RestoredStateGivesTheSameValuesAndTheSameSound) {
    PluginUnderTest original;
    original.activate();
    editEverywhere(original);
    const Bytes componentBytes = original.componentState(), controllerBytes = original.controllerState();

    PluginUnderTest restored;
    restored.activate();
    ASSERT_EQ(restored.setComponentState(componentBytes), Steinberg_kResultOk);
    MemoryStream forController(componentBytes);
    ASSERT_EQ(restored.controller->lpVtbl->setComponentState(restored.controller, forController.stream()),
              Steinberg_kResultOk);
    ASSERT_EQ(restored.setControllerState(controllerBytes), Steinberg_kResultOk);

    EXPECT_EQ(restored.componentState(), componentBytes);
    EXPECT_EQ(restored.controllerState(), controllerBytes);
    for (Steinberg_Vst_ParamID id : {Steinberg_Vst_ParamID{kLeftTap1}, kProgramParamId, kBypassParamId})
        EXPECT_EQ(restored.controller->lpVtbl->getParamNormalized(restored.controller, id),
                  original.controller->lpVtbl->getParamNormalized(original.controller, id))
            << "parameter " << id;

    // Bypass off in both, so that the sound is the reverb's; a fresh signal state in both.
    for (PluginUnderTest* plugin : {&original, &restored}) {
        plugin->set(kBypassParamId, 0.0);
        plugin->deactivate();
        plugin->activate();
    }
    const StereoSignal input = noiseThenSilence(8192, 8192);
    EXPECT_TRUE(original.render(input, {512}) == restored.render(input, {512}));
}

// The size the editor was drawn at travels with the component's state into
// the next session's controller, whose new view opens at it; a state saved
// before the editor had sizes (its programs 4 bytes shorter) still loads.
TEST(Vst3State, TheEditorsSizeTravelsWithTheStateAndOlderStatesStillLoad) {
    PluginUnderTest original;
    Steinberg_IPlugView* view = original.controller->lpVtbl->createView(original.controller, "editor");
    ASSERT_NE(view, nullptr);
    Steinberg_ViewRect unscaled{};
    view->lpVtbl->getSize(view, &unscaled);
    if (unscaled.right - unscaled.left == 0) {
        view->lpVtbl->release(view);
        // Real Windows loads the face from the plug-in module's resources, and a test program is none.
        GTEST_SKIP() << "the editor's bitmaps are not loaded here, so it has no size";
    }
    Steinberg_ViewRect larger{0, 0, 768, 768};
    ASSERT_EQ(view->lpVtbl->onSize(view, &larger), Steinberg_kResultOk);
    view->lpVtbl->release(view);
    const Bytes componentBytes = original.componentState();

    PluginUnderTest restored;
    MemoryStream forController(componentBytes);
    ASSERT_EQ(restored.controller->lpVtbl->setComponentState(restored.controller, forController.stream()),
              Steinberg_kResultOk);
    Steinberg_IPlugView* restoredView = restored.controller->lpVtbl->createView(restored.controller, "editor");
    Steinberg_ViewRect size{};
    ASSERT_EQ(restoredView->lpVtbl->getSize(restoredView, &size), Steinberg_kResultOk);
    EXPECT_EQ(size.right - size.left, 768);
    restoredView->lpVtbl->release(restoredView);

    Bytes older = componentBytes;
    older.resize(older.size() - 4);  // the programs as version 1 wrote them
    older[12 + 4] = 1;
    PluginUnderTest fromOlder;
    ASSERT_EQ(fromOlder.setComponentState(older), Steinberg_kResultOk);
    MemoryStream olderForController(older);
    ASSERT_EQ(fromOlder.controller->lpVtbl->setComponentState(fromOlder.controller, olderForController.stream()),
              Steinberg_kResultOk);
    EXPECT_EQ(fromOlder.controllerState().size(), componentBytes.size());  // saved again as the new version
}

TEST(Vst3State, DamagedStatesAreRefusedAndChangeNothing) {
    PluginUnderTest source;
    editEverywhere(source);
    const Bytes good = source.componentState();
    constexpr std::size_t kFirstValue = 12 + 12 + 24;  // our header, the programs' header, a name
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"truncated by one byte", [](Bytes& b) { b.pop_back(); }},
        {"one byte too long", [](Bytes& b) { b.push_back(0); }},
        {"header only", [](Bytes& b) { b.resize(12); }},
        {"another plug-in's", [](Bytes& b) { b[0] = 'X'; }},
        {"a newer version", [](Bytes& b) { b[4] = 2; }},
        {"an unknown flag", [](Bytes& b) { b[8] |= 2; }},
        {"program 5 current", [](Bytes& b) { b[12 + 8] = 5; }},
        {"a value that is NaN",
         [](Bytes& b) {
             const std::uint32_t nan = 0x7FC00000u;
             std::memcpy(&b[kFirstValue], &nan, 4);
         }},
    };
    for (const auto& c : cases) {
        Bytes damaged = good;
        c.damage(damaged);
        PluginUnderTest plugin;
        const Bytes componentBefore = plugin.componentState(), controllerBefore = plugin.controllerState();
        EXPECT_EQ(plugin.setComponentState(damaged), Steinberg_kResultFalse) << c.what;
        EXPECT_EQ(plugin.setControllerState(damaged), Steinberg_kResultFalse) << c.what;
        MemoryStream stream(damaged);
        EXPECT_EQ(plugin.controller->lpVtbl->setComponentState(plugin.controller, stream.stream()),
                  Steinberg_kResultFalse)
            << c.what;
        EXPECT_EQ(plugin.componentState(), componentBefore) << c.what;
        EXPECT_EQ(plugin.controllerState(), controllerBefore) << c.what;
    }
}

TEST(Vst3State, NullStreamsAreRefused) {
    PluginUnderTest plugin;
    EXPECT_EQ(plugin.component->lpVtbl->setState(plugin.component, nullptr), Steinberg_kResultFalse);
    EXPECT_EQ(plugin.component->lpVtbl->getState(plugin.component, nullptr), Steinberg_kResultFalse);
    EXPECT_EQ(plugin.controller->lpVtbl->setState(plugin.controller, nullptr), Steinberg_kResultFalse);
}

}  // namespace
