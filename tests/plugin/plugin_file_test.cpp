#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/loader/hosted_plugin.h"

namespace {

std::unique_ptr<HostedPlugin> loadRoomplate() {
    std::string error;
    auto plugin = HostedPlugin::load(ROOMPLATE_PLUGIN_FILE, error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

TEST(PluginFile, RecordAsTheHostSeesIt) {
    auto plugin = loadRoomplate();
    ASSERT_TRUE(plugin);
    const AEffect* record = plugin->effect();
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->uniqueID, fourCharCode("Quaz"));
    EXPECT_EQ(record->numPrograms, 2);
    EXPECT_EQ(record->numParams, 58);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_NE(record->object, nullptr);
    EXPECT_EQ(record->flags & ~effFlagsHasEditor, effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing);
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2);
    EXPECT_EQ(plugin->dispatch(effIdentify), 0x4E764566);
    char name[256] = {};
    plugin->dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Init");
}

TEST(PluginFile, TwoInstancesAreIndependent) {
    auto first = loadRoomplate();
    auto second = loadRoomplate();
    ASSERT_TRUE(first && second);
    AEffect* a = first->effect();
    AEffect* b = second->effect();
    EXPECT_NE(a, b);
    a->setParameter(a, 26, 0.25f);
    EXPECT_EQ(a->getParameter(a, 26), 0.25f);
    EXPECT_EQ(b->getParameter(b, 26), 0.5f);
}

TEST(PluginFile, ProcessesAnImpulseIntoAFiniteLimitedTail) {
    auto plugin = loadRoomplate();
    ASSERT_TRUE(plugin);
    plugin->start(44100.0f, 512);
    AEffect* record = plugin->effect();
    std::vector<float> left(512), right(512), outLeft(512), outRight(512);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    left[0] = right[0] = 1.0f;
    float energy = 0.0f;
    for (int block = 0; block < 40; ++block) {
        record->processReplacing(record, inputs, outputs, 512);
        left[0] = right[0] = 0.0f;
        for (int i = 0; i < 512; ++i) {
            ASSERT_TRUE(std::isfinite(outLeft[i]) && std::fabs(outLeft[i]) <= 0.99f);
            ASSERT_TRUE(std::isfinite(outRight[i]) && std::fabs(outRight[i]) <= 0.99f);
            if (block > 4) energy += outLeft[i] * outLeft[i];
        }
    }
    EXPECT_GT(energy, 1e-6f) << "the reverb's tail goes on after the impulse";
}

}  // namespace
