// The generated bundle read back by lilv, as hosts read it: one port per
// sound parameter with the model's symbol, name, range, "Init" default,
// switch and unit; the bypass port; the presets with the programs' values.
// The symbols by port index are also held against a checked-in list, since
// hosts store sessions by them: a change there must be deliberate.
#include <gtest/gtest.h>
#include <lilv/lilv.h>

#include <lv2/urid/urid.h>
#include <fstream>

#include <map>
#include <string>

#include "lv2/bundle_text.h"
#include "lv2/port_layout.h"
#include "reverb/parameter_table.h"

namespace {

using namespace lv2_ports;

// The URID map a host hands lilv for reading states.
LV2_URID mapUri(LV2_URID_Map_Handle, const char* uri) {
    static std::map<std::string, LV2_URID> ids;
    return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
}
LV2_URID_Map uridMap{nullptr, mapUri};

class Bundle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        world = lilv_world_new();
        lilv_world_load_specifications(world);
        LilvNode* bundleUri = lilv_new_file_uri(world, nullptr, ROOMPLATE_LV2_BUNDLE);
        lilv_world_load_bundle(world, bundleUri);
        lilv_node_free(bundleUri);
        LilvNode* pluginUri = lilv_new_uri(world, "urn:roomplate:reverb");
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), pluginUri);
        lilv_node_free(pluginUri);
    }
    static void TearDownTestSuite() { lilv_world_free(world); }

    const LilvPort* port(std::uint32_t index) const { return lilv_plugin_get_port_by_index(plugin, index); }
    std::string text(const LilvNode* node) const { return node != nullptr ? lilv_node_as_string(node) : ""; }
    bool portIs(const LilvPort* port, const char* classUri) const {
        LilvNode* node = lilv_new_uri(world, classUri);
        const bool is = lilv_port_is_a(plugin, port, node);
        lilv_node_free(node);
        return is;
    }
    bool hasProperty(const LilvPort* port, const char* propertyUri) const {
        LilvNode* node = lilv_new_uri(world, propertyUri);
        const bool has = lilv_port_has_property(plugin, port, node);
        lilv_node_free(node);
        return has;
    }

    static LilvWorld* world;
    static const LilvPlugin* plugin;
};
LilvWorld* Bundle::world = nullptr;
const LilvPlugin* Bundle::plugin = nullptr;

TEST_F(Bundle, PluginIsAReverbWithTheLayoutsPortsAndNoRequiredFeature) {
    ASSERT_NE(plugin, nullptr);
    LilvNode* type = lilv_new_uri(world, LILV_NS_RDF "type");
    LilvNode* reverbClass = lilv_new_uri(world, LV2_CORE__ReverbPlugin);
    LilvNodes* types = lilv_plugin_get_value(plugin, type);
    EXPECT_TRUE(lilv_nodes_contains(types, reverbClass));
    lilv_nodes_free(types);
    lilv_node_free(reverbClass);
    lilv_node_free(type);
    EXPECT_EQ(lilv_plugin_get_num_ports(plugin), kPortCount);
    LilvNodes* required = lilv_plugin_get_required_features(plugin);
    EXPECT_EQ(lilv_nodes_size(required), 0u);
    lilv_nodes_free(required);
    for (std::uint32_t index = 0; index < kAudioPortCount; ++index) {
        EXPECT_TRUE(portIs(port(index), LILV_URI_AUDIO_PORT));
        EXPECT_TRUE(portIs(port(index), kAudioPorts[index].input ? LILV_URI_INPUT_PORT : LILV_URI_OUTPUT_PORT));
    }
}

TEST_F(Bundle, EachSoundParameterIsAControlPortAsTheModelDescribesIt) {
    ASSERT_NE(plugin, nullptr);
    for (std::int32_t id = 0; id < kSoundParameterCount; ++id) {
        const ParameterInfo& info = kParameterTable[id];
        const LilvPort* control = port(portOf(info.id));
        ASSERT_NE(control, nullptr) << info.symbol;
        EXPECT_TRUE(portIs(control, LILV_URI_CONTROL_PORT) && portIs(control, LILV_URI_INPUT_PORT)) << info.symbol;
        EXPECT_EQ(text(lilv_port_get_symbol(plugin, control)), info.symbol);
        LilvNode* name = lilv_port_get_name(plugin, control);
        EXPECT_EQ(text(name), info.name);
        lilv_node_free(name);
        LilvNode *defaultValue = nullptr, *minimum = nullptr, *maximum = nullptr;
        lilv_port_get_range(plugin, control, &defaultValue, &minimum, &maximum);
        EXPECT_EQ(static_cast<float>(lilv_node_as_float(defaultValue)), info.initValue) << info.symbol;
        EXPECT_EQ(lilv_node_as_float(minimum), 0.0f) << info.symbol;
        EXPECT_EQ(lilv_node_as_float(maximum), 1.0f) << info.symbol;
        for (LilvNode* node : {defaultValue, minimum, maximum}) lilv_node_free(node);
        EXPECT_EQ(hasProperty(control, LV2_CORE__toggled), info.kind == ParameterKind::kStageSwitch) << info.symbol;
        LilvNode* unitPredicate = lilv_new_uri(world, "http://lv2plug.in/ns/extensions/units#unit");
        LilvNodes* units = lilv_port_get_value(plugin, control, unitPredicate);
        EXPECT_EQ(units != nullptr && lilv_nodes_size(units) == 1, info.converter != nullptr) << info.symbol;
        lilv_nodes_free(units);
        lilv_node_free(unitPredicate);
    }
}

TEST_F(Bundle, LastPortIsTheEnabledDesignationAndAboutHasNone) {
    ASSERT_NE(plugin, nullptr);
    LilvNode* enabled = lilv_new_uri(world, LV2_CORE__enabled);
    LilvNode* control = lilv_new_uri(world, LILV_URI_CONTROL_PORT);
    LilvNode* input = lilv_new_uri(world, LILV_URI_INPUT_PORT);
    EXPECT_EQ(lilv_plugin_get_port_by_designation(plugin, input, enabled), port(kEnabledPort));
    EXPECT_TRUE(hasProperty(port(kEnabledPort), LV2_CORE__toggled));
    LilvNode* about = lilv_new_string(world, kParameterTable[kAbout].symbol);
    EXPECT_EQ(lilv_plugin_get_port_by_symbol(plugin, about), nullptr);
    for (LilvNode* node : {enabled, control, input, about}) lilv_node_free(node);
}

TEST_F(Bundle, PresetsHoldTheProgramsValues) {
    ASSERT_NE(plugin, nullptr);
    struct Preset {
        const char* uri;
        float ParameterInfo::*value;
    };
    for (const Preset& preset : {Preset{"urn:roomplate:reverb#preset-init", &ParameterInfo::initValue},
                                 Preset{"urn:roomplate:reverb#preset-dattorro", &ParameterInfo::dattorroValue}}) {
        LilvNode* uri = lilv_new_uri(world, preset.uri);
        lilv_world_load_resource(world, uri);
        LilvState* state = lilv_state_new_from_world(world, &uridMap, uri);
        ASSERT_NE(state, nullptr) << preset.uri;
        std::map<std::string, float> values;
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* data, const void* value, uint32_t size, uint32_t) {
                if (size == sizeof(float))
                    (*static_cast<std::map<std::string, float>*>(data))[symbol] = *static_cast<const float*>(value);
            },
            &values);
        EXPECT_EQ(values.size(), static_cast<std::size_t>(kSoundParameterCount)) << preset.uri;
        for (std::int32_t id = 0; id < kSoundParameterCount; ++id)
            EXPECT_EQ(values[kParameterTable[id].symbol], kParameterTable[id].*preset.value)
                << preset.uri << " " << kParameterTable[id].symbol;
        lilv_state_free(state);
        lilv_node_free(uri);
    }
}

TEST_F(Bundle, SymbolsByIndexAreTheCheckedInOnes) {
    ASSERT_NE(plugin, nullptr);
    std::ifstream list(PORT_SYMBOLS_FILE);
    std::string symbol;
    std::uint32_t index = 0;
    for (; list >> symbol; ++index) {
        ASSERT_LT(index, kPortCount) << "the list holds more ports than the bundle";
        EXPECT_EQ(text(lilv_port_get_symbol(plugin, port(index))), symbol) << "port " << index;
    }
    EXPECT_EQ(index, kPortCount);
}

// Numbers are written so that hosts read back exactly the model's floats.
TEST(BundleNumbers, EveryTableValueReadsBackExactly) {
    for (const ParameterInfo& info : kParameterTable)
        for (float value : {info.initValue, info.dattorroValue}) {
            const std::string text = turtleNumber(value);
            EXPECT_EQ(std::stof(text), value) << text;
            EXPECT_NE(text.find_first_of(".e"), std::string::npos) << text;
        }
}

}  // namespace
