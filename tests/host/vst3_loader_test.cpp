// What our host hands a VST 3 plug-in: the changes of a block in the order
// they were made, and the module file found inside a bundle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "host/loader/vst3_effect.h"
#include "host/loader/vst3_parameter_changes.h"

namespace {

// Every (id, value) the plug-in would read, queue by queue.
std::vector<std::pair<Steinberg_Vst_ParamID, double>> read(Vst3ParameterChanges& pending) {
    Steinberg_Vst_IParameterChanges* changes = pending.changes();
    std::vector<std::pair<Steinberg_Vst_ParamID, double>> seen;
    for (Steinberg_int32 index = 0; index < changes->lpVtbl->getParameterCount(changes); ++index) {
        Steinberg_Vst_IParamValueQueue* queue = changes->lpVtbl->getParameterData(changes, index);
        EXPECT_EQ(queue->lpVtbl->getPointCount(queue), 1);
        Steinberg_int32 offset = -1;
        double value = -1.0;
        EXPECT_EQ(queue->lpVtbl->getPoint(queue, 0, &offset, &value), Steinberg_kResultOk);
        EXPECT_EQ(offset, 0);
        seen.emplace_back(queue->lpVtbl->getParameterId(queue), value);
    }
    return seen;
}

}  // namespace

TEST(Vst3ParameterChanges, KeepTheLastValueOfEachParameterInTheOrderOfTheLastChanges) {
    Vst3ParameterChanges pending(3);
    EXPECT_TRUE(pending.empty());
    EXPECT_TRUE(pending.set(7, 0.25));
    EXPECT_TRUE(pending.set(1001, 1.0));  // a program change after an edit …
    EXPECT_TRUE(pending.set(7, 0.75));    // … and the edit made again must come after it
    EXPECT_TRUE(pending.set(3, 0.5));
    const std::vector<std::pair<Steinberg_Vst_ParamID, double>> expected = {{1001, 1.0}, {7, 0.75}, {3, 0.5}};
    EXPECT_EQ(read(pending), expected);

    EXPECT_FALSE(pending.set(9, 0.1)) << "a fourth parameter does not fit";
    EXPECT_TRUE(pending.set(1001, 0.0)) << "a parameter already queued still does";
    pending.clear();
    EXPECT_TRUE(pending.empty());
    EXPECT_TRUE(read(pending).empty());
}

TEST(Vst3Effect, FindsTheModuleInsideABundleFolder) {
    const std::filesystem::path bundle = std::filesystem::path(testing::TempDir()) / "Probe.vst3";
    std::filesystem::create_directories(bundle);
#if defined(_WIN32)
    const std::string inside =
        (bundle / "Contents" / (sizeof(void*) == 8 ? "x86_64-win" : "x86-win") / "Probe.vst3").string();
#else
    const std::string inside = (bundle / "Contents" / "x86_64-linux" / "Probe.so").string();
#endif
    const struct {
        std::string given, expected;
    } cases[] = {
        {bundle.string(), inside},
        {bundle.string() + "/", inside},
        {"/no/such/Other.vst3", "/no/such/Other.vst3"},  // not a folder: a module file named directly
    };
    for (const auto& entry : cases) EXPECT_EQ(Vst3Effect::moduleFile(entry.given), entry.expected) << entry.given;
    std::filesystem::remove_all(bundle);
}
