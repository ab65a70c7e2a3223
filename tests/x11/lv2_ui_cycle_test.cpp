// The LV2 UI library as a host meets it, opened and closed again and again in
// one process: each time it asks the host for its size, shows one child
// window (the widget it hands back), takes the host's port values without
// writing them back, and on cleanup leaves nothing behind: no X11 window, no
// display connection (file descriptor), no heap memory.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "lv2/plugin_uris.h"
#include "lv2/port_layout.h"
#include "tests/x11/cycle_test_support.h"
#include "tests/x11/x11_host_window.h"

namespace {

using namespace lv2_ports;

constexpr int kEditorSize = 512;

// What the UI asked of the host during one instance's life.
struct HostRecord {
    int resizeCalls = 0;
    int requestedWidth = 0;
    int requestedHeight = 0;
    int writes = 0;
};

int recordResize(LV2UI_Feature_Handle handle, int width, int height) {
    auto* record = static_cast<HostRecord*>(handle);
    ++record->resizeCalls;
    record->requestedWidth = width;
    record->requestedHeight = height;
    return 0;
}

void recordWrite(LV2UI_Controller controller, uint32_t, uint32_t, uint32_t, const void*) {
    ++static_cast<HostRecord*>(controller)->writes;
}

const LV2UI_Descriptor* uiDescriptor() {
    static void* library = dlopen(ROOMPLATE_LV2_UI_BINARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    return entry != nullptr ? entry(0) : nullptr;
}

// One instance's life, as the host saw it.
struct CycleOutcome {
    bool instantiated = false;
    std::uintptr_t widget = 0;
    std::vector<std::uintptr_t> childrenWhileOpen;
    bool idleKeptOpen = true;  // every idle call answered 0: the UI did not ask to close
    HostRecord host;
};

class Lv2UiCycles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host.isOpen()) GTEST_SKIP() << "no X display";
        descriptor = uiDescriptor();
        ASSERT_NE(nullptr, descriptor) << dlerror();
        ASSERT_STREQ(lv2_uris::kUi, descriptor->URI);
        ASSERT_NE(nullptr, descriptor->extension_data);
        idle = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(nullptr, idle) << "an X11 UI without its own event loop needs the host's idle calls";
    }

    // A host's values for some sound parameters, and what the UI must ignore:
    // audio and bypass ports, a port past the last, another format, NaN.
    void sendPortEvents(LV2UI_Handle ui) {
        const float value = 0.25f;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float outOfRange = 7.0f;
        const std::uint32_t lastSoundPort = portOf(static_cast<ParameterId>(kSoundParameterCount - 1));
        for (std::uint32_t port : {kFirstControlPort, kFirstControlPort + 1, lastSoundPort})
            descriptor->port_event(ui, port, sizeof value, 0, &value);
        descriptor->port_event(ui, kFirstControlPort + 2, sizeof outOfRange, 0, &outOfRange);
        descriptor->port_event(ui, kFirstControlPort + 3, sizeof nan, 0, &nan);
        descriptor->port_event(ui, kInputLeft, sizeof value, 0, &value);
        descriptor->port_event(ui, kEnabledPort, sizeof value, 0, &value);
        descriptor->port_event(ui, kPortCount, sizeof value, 0, &value);
        const std::uint32_t atomFormat = 1;  // any nonzero format: an event transfer the UI never asked for
        descriptor->port_event(ui, kFirstControlPort, sizeof value, atomFormat, &value);
        descriptor->port_event(ui, kFirstControlPort, 0, 0, nullptr);
    }

    CycleOutcome openUseClose() {
        CycleOutcome outcome;
        LV2UI_Resize resize{&outcome.host, recordResize};
        const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(host.id())};
        const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
        const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
        const LV2_Feature* features[] = {&parentFeature, &resizeFeature, &idleFeature, nullptr};
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle ui = descriptor->instantiate(descriptor, lv2_uris::kPlugin, ROOMPLATE_LV2_BUNDLE, recordWrite,
                                                  &outcome.host, &widget, features);
        if (ui == nullptr) return outcome;
        outcome.instantiated = true;
        outcome.widget = reinterpret_cast<std::uintptr_t>(widget);
        sendPortEvents(ui);
        for (int i = 0; i < kIdleCallsPerCycle; ++i) outcome.idleKeptOpen &= idle->idle(ui) == 0;
        outcome.childrenWhileOpen = host.children();
        descriptor->cleanup(ui);
        return outcome;
    }

    X11HostWindow host{kEditorSize, kEditorSize};
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
};

// What one instance's life got wrong, one line each; empty when nothing.
std::string faultsOf(const CycleOutcome& outcome) {
    if (!outcome.instantiated) return "no instance\n";
    std::string faults;
    if (outcome.widget == 0) faults += "no widget handed back\n";
    if (outcome.childrenWhileOpen != std::vector<std::uintptr_t>{outcome.widget})
        faults += "the parent's children are not just the widget: " + std::to_string(outcome.childrenWhileOpen.size()) +
                  " children\n";
    if (outcome.host.resizeCalls != 1) faults += std::to_string(outcome.host.resizeCalls) + " resize requests\n";
    if (outcome.host.requestedWidth != kEditorSize || outcome.host.requestedHeight != kEditorSize)
        faults += "asked for " + std::to_string(outcome.host.requestedWidth) + " x " +
                  std::to_string(outcome.host.requestedHeight) + "\n";
    if (outcome.host.writes != 0) faults += "wrote the host's own values back to it\n";
    if (!outcome.idleKeptOpen) faults += "idle asked the host to close the UI\n";
    return faults;
}

TEST_F(Lv2UiCycles, LeaveNoWindowConnectionOrMemoryBehind) {
    // First use: bitmaps and caches made, libX11's own tables filled.
    ASSERT_EQ("", faultsOf(openUseClose()));
    const int descriptors = openFileDescriptors();
    const long heap = heapInUse();

    const int cycles = cycleCount();
    int faultyCycles = 0;
    std::string firstFaults;
    int cyclesLeavingChildren = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const std::string faults = faultsOf(openUseClose());
        if (!faults.empty() && faultyCycles++ == 0) firstFaults = faults;
        cyclesLeavingChildren += !host.children().empty();
    }
    EXPECT_EQ(0, faultyCycles) << "first faulty cycle:\n" << firstFaults;
    EXPECT_EQ(0, cyclesLeavingChildren);
    EXPECT_EQ(descriptors, openFileDescriptors()) << "the UI's display connection closes with it";
    const long growth = heapInUse() - heap;
    EXPECT_LT(growth, kHeapSlackBytes) << "heap grew by " << growth << " bytes over " << cycles << " cycles";
    RecordProperty("heapGrowthBytes", std::to_string(growth));
    RecordProperty("cycles", std::to_string(cycles));
}

// Without ui:parent there is nowhere to show the editor: no instance, no window.
TEST_F(Lv2UiCycles, RefuseToOpenWithoutParentWindow) {
    HostRecord record;
    LV2UI_Resize resize{&record, recordResize};
    const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
    const LV2_Feature* features[] = {&resizeFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    EXPECT_EQ(nullptr, descriptor->instantiate(descriptor, lv2_uris::kPlugin, ROOMPLATE_LV2_BUNDLE, recordWrite,
                                               &record, &widget, features));
    EXPECT_EQ(0, record.resizeCalls);
    EXPECT_TRUE(host.children().empty());
}

// A host's URID map: each URI its number from 1, in the order first asked.
LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri) {
    auto* uris = static_cast<std::vector<std::string>*>(handle);
    for (std::size_t i = 0; i < uris->size(); ++i)
        if ((*uris)[i] == uri) return static_cast<LV2_URID>(i + 1);
    uris->push_back(uri);
    return static_cast<LV2_URID>(uris->size());
}

// A host on a high-density screen gives ui:scaleFactor 2 (1.6: the nearest
// the editor draws, 1.5): the UI asks for that size and shows one widget of it.
TEST_F(Lv2UiCycles, DrawAtTheHostsScaleFactor) {
    for (const float scaleFactor : {2.0f, 1.6f}) {
        std::vector<std::string> uris;
        LV2_URID_Map map{&uris, mapUri};
        const LV2_Options_Option options[] = {
            {LV2_OPTIONS_INSTANCE, 0, mapUri(&uris, LV2_UI__scaleFactor), sizeof scaleFactor,
             mapUri(&uris, LV2_ATOM__Float), &scaleFactor},
            {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr},
        };
        HostRecord record;
        LV2UI_Resize resize{&record, recordResize};
        const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(host.id())};
        const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
        const LV2_Feature mapFeature{LV2_URID__map, &map};
        const LV2_Feature optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
        const LV2_Feature* features[] = {&parentFeature, &resizeFeature, &mapFeature, &optionsFeature, nullptr};
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle ui = descriptor->instantiate(descriptor, lv2_uris::kPlugin, ROOMPLATE_LV2_BUNDLE, recordWrite,
                                                  &record, &widget, features);
        ASSERT_NE(nullptr, ui);
        const int side = scaleFactor == 2.0f ? 1024 : 768;
        EXPECT_EQ(1, record.resizeCalls);
        EXPECT_EQ(side, record.requestedWidth);
        EXPECT_EQ(side, record.requestedHeight);
        for (int i = 0; i < 3; ++i) idle->idle(ui);
        EXPECT_EQ(std::vector<std::uintptr_t>{reinterpret_cast<std::uintptr_t>(widget)}, host.children());
        descriptor->cleanup(ui);
    }
}

}  // namespace
