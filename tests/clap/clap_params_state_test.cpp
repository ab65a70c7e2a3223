// The parameters as a host lists, shows and types them, the programs
// through the preset factory, and the state through streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>

#include "tests/clap/clap_test_host.h"

namespace {

const clap_plugin_params_t& paramsOf(const TestInstance& instance) {
    return *instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
}

std::vector<clap_param_info_t> infos(const TestInstance& instance) {
    const clap_plugin_params_t& params = paramsOf(instance);
    std::vector<clap_param_info_t> list;
    for (std::uint32_t i = 0; i < params.count(instance.plugin()); ++i) {
        clap_param_info_t info{};
        EXPECT_TRUE(params.get_info(instance.plugin(), i, &info));
        list.push_back(info);
    }
    clap_param_info_t past{};
    EXPECT_FALSE(params.get_info(instance.plugin(), params.count(instance.plugin()), &past));
    return list;
}

TEST(ClapParams, FiftySevenSoundParametersAndABypassWithUniqueNamesInTheFacesSections) {
    TestHost host;
    TestInstance instance(host);
    const auto list = infos(instance);
    ASSERT_EQ(list.size(), 58u);
    const std::set<std::string> modules = {"Early", "Input Diffusion", "Tank",  "State Variable",
                                           "Delay", "Extras",          "Output"};
    std::set<std::string> names;
    std::set<clap_id> ids;
    int bypasses = 0, stepped = 0;
    for (const clap_param_info_t& info : list) {
        names.insert(info.name);
        ids.insert(info.id);
        EXPECT_EQ(info.min_value, 0.0);
        EXPECT_EQ(info.max_value, 1.0);
        EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE) << info.name;
        EXPECT_NE(std::string(info.name), "About") << "the editor's own state is no host parameter";
        if (info.flags & CLAP_PARAM_IS_BYPASS) {
            ++bypasses;
            EXPECT_TRUE(info.flags & CLAP_PARAM_IS_STEPPED);
            continue;
        }
        EXPECT_EQ(modules.count(info.module), 1u) << info.name << " in module \"" << info.module << "\"";
        if (info.flags & CLAP_PARAM_IS_STEPPED) ++stepped;
        // A fresh instance holds what it declares as defaults.
        EXPECT_EQ(instance.value(info.id), static_cast<double>(static_cast<float>(info.default_value))) << info.name;
    }
    EXPECT_EQ(names.size(), list.size());
    EXPECT_EQ(ids.size(), list.size());
    EXPECT_EQ(bypasses, 1);
    EXPECT_EQ(stepped, 4) << "the four stage switches";
    EXPECT_EQ(list.front().id, 0u) << "ids are the model's parameter numbers, stored by sessions";
    double value = 0.0;
    EXPECT_FALSE(paramsOf(instance).get_value(instance.plugin(), 57, &value)) << "About";
    EXPECT_FALSE(paramsOf(instance).get_value(instance.plugin(), 5000, &value));
}

TEST(ClapParams, EveryValueTextReadsBackAsTheSameTextAtMinimumDefaultAndMaximum) {
    TestHost host;
    TestInstance instance(host);
    const clap_plugin_params_t& params = paramsOf(instance);
    for (const clap_param_info_t& info : infos(instance)) {
        for (const double value : {info.min_value, info.default_value, info.max_value}) {
            char text[CLAP_NAME_SIZE] = {};
            ASSERT_TRUE(params.value_to_text(instance.plugin(), info.id, value, text, sizeof(text))) << info.name;
            EXPECT_NE(text[0], '\0') << info.name;
            double parsed = -1.0;
            ASSERT_TRUE(params.text_to_value(instance.plugin(), info.id, text, &parsed))
                << info.name << ": \"" << text << "\"";
            EXPECT_GE(parsed, info.min_value);
            EXPECT_LE(parsed, info.max_value);
            char again[CLAP_NAME_SIZE] = {};
            ASSERT_TRUE(params.value_to_text(instance.plugin(), info.id, parsed, again, sizeof(again)));
            EXPECT_STREQ(again, text) << info.name << " at " << value;
        }
        double untouched = 0.5;
        EXPECT_FALSE(params.text_to_value(instance.plugin(), info.id, "loud", &untouched)) << info.name;
        EXPECT_EQ(untouched, 0.5);
        char tiny[4] = {};
        EXPECT_TRUE(params.value_to_text(instance.plugin(), info.id, info.max_value, tiny, sizeof(tiny)));
        EXPECT_LT(std::strlen(tiny), sizeof(tiny)) << "the text must fit the host's buffer";
    }
}

TEST(ClapParams, FlushAppliesEventsWithoutAudioAndCarriesTheEditorsEditsOut) {
    TestHost host;
    TestInstance instance(host);
    const clap_id first = infos(instance).front().id;
    instance.flush({{0, first, 0.125}});
    EXPECT_EQ(instance.value(first), 0.125);
    EXPECT_TRUE(instance.lastOutput.empty()) << "the host's own changes are not echoed back";
}

std::vector<std::string> presetNames(const char* pluginId, std::vector<std::string>& loadKeys) {
    const auto* factory = static_cast<const clap_preset_discovery_factory_t*>(
        roomplateEntry().get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
    EXPECT_NE(factory, nullptr);
    if (factory == nullptr) return {};
    EXPECT_EQ(factory->count(factory), 1u);
    struct Found {
        std::vector<std::string> names, keys;
        int locations = 0;
    } found;
    clap_preset_discovery_indexer_t indexer{};
    indexer.clap_version = CLAP_VERSION;
    indexer.indexer_data = &found;
    indexer.declare_location = [](const clap_preset_discovery_indexer_t* self,
                                  const clap_preset_discovery_location_t* location) {
        EXPECT_EQ(location->kind, static_cast<std::uint32_t>(CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN));
        ++static_cast<Found*>(self->indexer_data)->locations;
        return true;
    };
    const auto* provider = factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
    EXPECT_NE(provider, nullptr);
    EXPECT_TRUE(provider->init(provider));
    EXPECT_EQ(found.locations, 1);
    clap_preset_discovery_metadata_receiver_t receiver{};
    receiver.receiver_data = &found;
    receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* self, const char* name,
                               const char* key) {
        static_cast<Found*>(self->receiver_data)->names.push_back(name);
        static_cast<Found*>(self->receiver_data)->keys.push_back(key);
        return true;
    };
    receiver.add_plugin_id = [](const clap_preset_discovery_metadata_receiver_t*, const clap_universal_plugin_id_t*) {};
    receiver.set_flags = [](const clap_preset_discovery_metadata_receiver_t*, std::uint32_t) {};
    EXPECT_TRUE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, &receiver));
    provider->destroy(provider);
    (void)pluginId;
    loadKeys = found.keys;
    return found.names;
}

TEST(ClapPresets, TheTwoFactoryProgramsAreListedAndLoad) {
    std::vector<std::string> keys;
    EXPECT_EQ(presetNames("org.roomplate.reverb", keys), (std::vector<std::string>{"Init", "Dattorro"}));
    ASSERT_EQ(keys.size(), 2u);
    TestHost host;
    TestInstance instance(host);
    const auto* load = instance.extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
    ASSERT_NE(load, nullptr);
    const clap_id dry = 25;  // "Dry Output": 0.5 in Init, silent in Dattorro
    ASSERT_TRUE(
        load->from_location(instance.plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, keys[1].c_str()));
    EXPECT_EQ(instance.value(dry), 0.0);
    EXPECT_GT(host.rescans, 0) << "the host must hear that every value changed";
    ASSERT_TRUE(
        load->from_location(instance.plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, keys[0].c_str()));
    EXPECT_GT(instance.value(dry), 0.0);
    EXPECT_FALSE(load->from_location(instance.plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "Hall"));
    EXPECT_FALSE(
        load->from_location(instance.plugin(), CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp/x", keys[0].c_str()));
}

TEST(ClapState, SavedStateLoadsIntoAFreshInstanceAsTheSameBytesAndTheSameSound) {
    TestHost host;
    TestInstance original(host);
    const auto list = infos(original);
    original.flush({{0, list[3].id, 0.77}, {0, list[40].id, 0.3}});
    const std::vector<std::uint8_t> saved = original.saveState();
    ASSERT_FALSE(saved.empty());

    for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{1} << 20}) {
        TestInstance restored(host);
        ASSERT_TRUE(restored.loadState(saved, chunk)) << "read in chunks of " << chunk;
        EXPECT_EQ(restored.saveState(), saved);
        EXPECT_EQ(restored.value(list[3].id), original.value(list[3].id));
    }
    TestInstance restored(host);
    ASSERT_TRUE(restored.loadState(saved));
    ASSERT_TRUE(original.activate(44100.0));
    ASSERT_TRUE(restored.activate(44100.0));
    const StereoBuffer input = noise(8192);
    EXPECT_TRUE(sameSamples(original.processInBlocks(input, {512}), restored.processInBlocks(input, {512})));
}

TEST(ClapState, TheBypassIsKeptWithTheSessionAndStatesWithoutItStillLoad) {
    TestHost host;
    TestInstance original(host);
    const auto list = infos(original);
    const auto bypass = std::find_if(list.begin(), list.end(), [](const clap_param_info_t& info) {
        return (info.flags & CLAP_PARAM_IS_BYPASS) != 0;
    });
    ASSERT_NE(bypass, list.end());
    original.flush({{0, bypass->id, 1.0}, {0, list[3].id, 0.77}});
    const std::vector<std::uint8_t> saved = original.saveState();

    TestInstance restored(host);
    ASSERT_TRUE(restored.loadState(saved));
    EXPECT_EQ(restored.value(bypass->id), 1.0) << "a bypassed track comes back bypassed";
    EXPECT_FLOAT_EQ(static_cast<float>(restored.value(list[3].id)), 0.77f);

    // Sessions saved before the bypass was kept hold the programs alone: the
    // bytes after the 12-byte header ("RPv3", version, flags).
    constexpr std::size_t kSessionHeaderBytes = 12;
    ASSERT_GT(saved.size(), kSessionHeaderBytes);
    const std::vector<std::uint8_t> programsOnly(saved.begin() + kSessionHeaderBytes, saved.end());
    TestInstance older(host);
    older.flush({{0, bypass->id, 1.0}});
    ASSERT_TRUE(older.loadState(programsOnly));
    EXPECT_EQ(older.value(bypass->id), 0.0);
    EXPECT_FLOAT_EQ(static_cast<float>(older.value(list[3].id)), 0.77f);
}

TEST(ClapState, DamagedStateIsRefusedAndChangesNothing) {
    TestHost host;
    TestInstance source(host);
    source.flush({{0, 0, 0.3}});
    const std::vector<std::uint8_t> good = source.saveState();

    TestInstance target(host);
    const std::vector<std::uint8_t> before = target.saveState();
    std::vector<std::vector<std::uint8_t>> damaged;
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{8}, good.size() / 2, good.size() - 1})
        damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    std::mt19937 generator(42);
    for (int i = 0; i < 20; ++i) {
        std::vector<std::uint8_t> random(good.size());
        for (auto& byte : random) byte = static_cast<std::uint8_t>(generator());
        damaged.push_back(random);
    }
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    damaged.push_back(longer);
    for (const auto& bytes : damaged) {
        EXPECT_FALSE(target.loadState(bytes)) << bytes.size() << " bytes";
        EXPECT_EQ(target.saveState(), before);
    }
    ASSERT_TRUE(target.activate(44100.0));
    EXPECT_TRUE(allFinite(target.processInBlocks(noise(2048), {256})));
}

}  // namespace
