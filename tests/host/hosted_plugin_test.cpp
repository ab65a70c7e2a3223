#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "host/loader/hosted_plugin.h"

namespace {

#if !defined(_WIN32)
bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// A third-party plug-in that nobody here wrote, from Debian's dragonfly-reverb-vst.
const std::string kDragonflyPlate = "/usr/lib/lxvst/DragonflyPlateReverb-vst.so";

TEST(HostedPlugin, ReadsAThirdPartyPlugin) {
    if (!fileExists(kDragonflyPlate)) GTEST_SKIP() << "dragonfly-reverb-vst is not installed";
    std::string error;
    auto plugin = HostedPlugin::load(kDragonflyPlate, error);
    ASSERT_TRUE(plugin) << error;
    const AEffect* record = plugin->effect();
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->numParams, 9);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_NE(record->flags & effFlagsCanReplacing, 0);
    char name[256] = {};
    plugin->dispatch(effGetParamName, 0, 0, name);
    EXPECT_STREQ(name, "Dry Level");
    plugin->start(44100.0f, 512);
    float left[512] = {}, right[512] = {}, outLeft[512], outRight[512];
    float* inputs[] = {left, right};
    float* outputs[] = {outLeft, outRight};
    left[0] = right[0] = 1.0f;
    record->processReplacing(const_cast<AEffect*>(record), inputs, outputs, 512);
    EXPECT_GT(outLeft[0], 0.5f) << "the dry level (0.8) passes the impulse";
}
#endif

TEST(HostedPlugin, RefusesFilesThatAreNotPlugins) {
    const std::string notAPlugin = testing::TempDir() + "not-a-plugin.so";
    std::ofstream(notAPlugin) << "this is text, not a library";
    for (const std::string& path : {std::string("/no/such/plugin.so"), notAPlugin}) {
        std::string error;
        EXPECT_FALSE(HostedPlugin::load(path, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
    }
    std::remove(notAPlugin.c_str());
}

}  // namespace
