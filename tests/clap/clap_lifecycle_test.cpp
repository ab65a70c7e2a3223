// The entry, the factories, an instance's life and its extensions, as a host
// meets them before any audio.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/clap/clap_test_host.h"
#include "tests/reverb/sample_rate_cases.h"

namespace {

const clap_plugin_factory_t& pluginFactory() {
    return *static_cast<const clap_plugin_factory_t*>(roomplateEntry().get_factory(CLAP_PLUGIN_FACTORY_ID));
}

std::set<std::string> featuresOf(const clap_plugin_descriptor_t& descriptor) {
    std::set<std::string> features;
    for (const char* const* feature = descriptor.features; *feature != nullptr; ++feature) features.insert(*feature);
    return features;
}

TEST(ClapEntry, OffersOneReverbPluginWithAStableIdAndTheBuildsVersion) {
    const clap_plugin_entry_t& entry = roomplateEntry();
    EXPECT_TRUE(clap_version_is_compatible(entry.clap_version));
    EXPECT_EQ(entry.get_factory("org.example.no-such-factory"), nullptr);
    const clap_plugin_factory_t& factory = pluginFactory();
    ASSERT_EQ(factory.get_plugin_count(&factory), 1u);
    EXPECT_EQ(factory.get_plugin_descriptor(&factory, 1), nullptr);
    const clap_plugin_descriptor_t& descriptor = *factory.get_plugin_descriptor(&factory, 0);
    EXPECT_STREQ(descriptor.id, "org.roomplate.reverb");
    EXPECT_STREQ(descriptor.name, "Roomplate");
    EXPECT_STREQ(descriptor.vendor, "Roomplate");
    EXPECT_STREQ(descriptor.version, ROOMPLATE_VERSION);
    EXPECT_EQ(featuresOf(descriptor), (std::set<std::string>{"audio-effect", "reverb", "stereo"}));

    TestHost host;
    EXPECT_EQ(factory.create_plugin(&factory, host.record(), "org.roomplate.other"), nullptr);
    EXPECT_EQ(factory.create_plugin(&factory, nullptr, descriptor.id), nullptr);
}

TEST(ClapEntry, InstancesLiveAndDieIndependently) {
    TestHost host;
    for (int round = 0; round < 2; ++round) {
        TestInstance first(host);
        TestInstance second(host);
        ASSERT_TRUE(first.activate(44100.0));
        StereoBuffer output;
        EXPECT_EQ(first.process(noise(256), output, 0, 256), CLAP_PROCESS_CONTINUE);
        EXPECT_TRUE(allFinite(output));
    }
}

TEST(ClapInstance, ProcessBeforeActivateIsRefused) {
    TestHost host;
    TestInstance instance(host);
    StereoBuffer output;
    EXPECT_EQ(instance.process(noise(64), output, 0, 64), CLAP_PROCESS_ERROR);
    EXPECT_FALSE(instance.activate(0.0));
    EXPECT_TRUE(instance.activate(48000.0));
}

// A rate the engine cannot be built at (its lengths would overflow or be
// empty) is refused; the edges of the range activate and process.
TEST(ClapInstance, ActivateRefusesRatesTheEngineCannotBeBuiltAt) {
    TestHost host;
    TestInstance instance(host);
    for (double rate : kRefusedSampleRates) EXPECT_FALSE(instance.activate(rate)) << rate;
    for (double rate : kEdgeSampleRates) {
        ASSERT_TRUE(instance.activate(rate)) << rate;
        StereoBuffer output;
        EXPECT_EQ(instance.process(noise(256), output, 0, 256), CLAP_PROCESS_CONTINUE) << rate;
        EXPECT_TRUE(allFinite(output)) << rate;
        instance.deactivate();
    }
}

TEST(ClapInstance, DeclaresStereoInPlacePortsNoLatencyAndATail) {
    TestHost host;
    TestInstance instance(host);
    const auto* ports = instance.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    ASSERT_NE(ports, nullptr);
    for (const bool isInput : {true, false}) {
        ASSERT_EQ(ports->count(instance.plugin(), isInput), 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(ports->get(instance.plugin(), 0, isInput, &info));
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
        EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_IS_MAIN);
        clap_audio_port_info_t other{};
        ASSERT_TRUE(ports->get(instance.plugin(), 0, !isInput, &other));
        EXPECT_EQ(info.in_place_pair, other.id);
        EXPECT_FALSE(ports->get(instance.plugin(), 1, isInput, &info));
    }
    const auto* latency = instance.extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    ASSERT_NE(latency, nullptr);
    EXPECT_EQ(latency->get(instance.plugin()), 0u);
    const auto* tail = instance.extension<clap_plugin_tail_t>(CLAP_EXT_TAIL);
    ASSERT_NE(tail, nullptr);
    ASSERT_TRUE(instance.activate(44100.0));
    EXPECT_GT(tail->get(instance.plugin()), 0u);
    const auto* render = instance.extension<clap_plugin_render_t>(CLAP_EXT_RENDER);
    ASSERT_NE(render, nullptr);
    EXPECT_TRUE(render->set(instance.plugin(), CLAP_RENDER_OFFLINE));
    EXPECT_TRUE(render->set(instance.plugin(), CLAP_RENDER_REALTIME));
    EXPECT_EQ(instance.extension<void>("org.example.unknown"), nullptr);
}

TEST(ClapGui, EmbeddedNativeWindowIdledByTheHostsTimer) {
    TestHost withoutTimers;
    TestInstance untimed(withoutTimers);
    const auto* gui = untimed.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    EXPECT_TRUE(gui->is_api_supported(untimed.plugin(), CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->is_api_supported(untimed.plugin(), CLAP_WINDOW_API_X11, true));
    EXPECT_FALSE(gui->is_api_supported(untimed.plugin(), CLAP_WINDOW_API_WAYLAND, false));
    // Nothing would idle the editor: no editor.
    EXPECT_FALSE(gui->create(untimed.plugin(), CLAP_WINDOW_API_X11, false));

    TestHost host(true);
    {
        TestInstance instance(host);
        ASSERT_TRUE(gui->create(instance.plugin(), CLAP_WINDOW_API_X11, false));
        EXPECT_EQ(host.timers.size(), 1u);
        std::uint32_t width = 0, height = 0;
        ASSERT_TRUE(gui->get_size(instance.plugin(), &width, &height));
        EXPECT_EQ(width, 512u);
        EXPECT_EQ(height, 512u);
        EXPECT_FALSE(gui->set_size(instance.plugin(), 400, 300));
        EXPECT_TRUE(gui->set_size(instance.plugin(), 512, 512));
        std::uint32_t asked = 900, askedHeight = 100;
        ASSERT_TRUE(gui->adjust_size(instance.plugin(), &asked, &askedHeight));
        EXPECT_EQ(asked, 512u);
        gui->destroy(instance.plugin());
        EXPECT_TRUE(host.timers.empty());
        ASSERT_TRUE(gui->create(instance.plugin(), CLAP_WINDOW_API_X11, false));
    }
    EXPECT_TRUE(host.timers.empty()) << "an instance destroyed with its editor created leaves its timer behind";
}

// The host's scale for the screen, or a size the user drags the window to:
// the editor draws at 1, 1.5 or 2 times, square, and the state keeps it.
TEST(ClapGui, DrawsAtTheHostsScaleOrTheNearestSquareSizeAndKeepsItInTheState) {
    TestHost host(true);
    TestInstance instance(host);
    const auto* gui = instance.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    ASSERT_TRUE(gui->create(instance.plugin(), CLAP_WINDOW_API_X11, false));
    EXPECT_TRUE(gui->can_resize(instance.plugin()));
    clap_gui_resize_hints_t hints{};
    ASSERT_TRUE(gui->get_resize_hints(instance.plugin(), &hints));
    EXPECT_TRUE(hints.preserve_aspect_ratio);
    EXPECT_EQ(hints.aspect_ratio_width, hints.aspect_ratio_height);

    struct Case {
        double scale;
        std::uint32_t side;
    } scales[] = {{2.0, 1024}, {1.5, 768}, {1.0, 512}, {1.3, 768}, {3.0, 1024}, {0.5, 512}};
    for (const Case& c : scales) {
        EXPECT_TRUE(gui->set_scale(instance.plugin(), c.scale)) << c.scale;
        std::uint32_t width = 0, height = 0;
        ASSERT_TRUE(gui->get_size(instance.plugin(), &width, &height));
        EXPECT_EQ(width, c.side) << c.scale;
        EXPECT_EQ(height, c.side) << c.scale;
    }
    struct Drag {
        std::uint32_t width, height, side;
    } drags[] = {{800, 900, 768}, {1100, 1200, 1024}, {600, 2000, 512}, {880, 880, 768}, {900, 900, 1024}};
    for (const Drag& d : drags) {
        std::uint32_t width = d.width, height = d.height;
        ASSERT_TRUE(gui->adjust_size(instance.plugin(), &width, &height));
        EXPECT_EQ(width, d.side) << d.width << " x " << d.height;
        EXPECT_EQ(height, d.side) << d.width << " x " << d.height;
    }
    EXPECT_FALSE(gui->set_size(instance.plugin(), 700, 700));
    EXPECT_FALSE(gui->set_size(instance.plugin(), 768, 1024));
    ASSERT_TRUE(gui->set_size(instance.plugin(), 1024, 1024));

    TestInstance restored(host);
    ASSERT_TRUE(restored.loadState(instance.saveState()));
    const auto* restoredGui = restored.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(restoredGui->get_size(restored.plugin(), &width, &height));
    EXPECT_EQ(width, 1024u);
}

}  // namespace
