// Opening and closing the real editor in an X11 window, again and again in
// one process, leaves nothing behind: no X11 window, no display connection
// (file descriptor), no heap memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "host/loader/hosted_plugin.h"
#include "tests/x11/cycle_test_support.h"
#include "tests/x11/x11_host_window.h"

namespace {

class EditorCycles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host.isOpen()) GTEST_SKIP() << "no X display";
        std::string error;
        plugin = HostedPlugin::load(ROOMPLATE_PLUGIN_FILE, error);
        ASSERT_TRUE(plugin) << error;
    }

    void openIdleClose(std::size_t* childrenWhileOpen) {
        plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host.id()));
        for (int i = 0; i < kIdleCallsPerCycle; ++i) plugin->dispatch(effEditIdle);
        *childrenWhileOpen = host.children().size();
        plugin->dispatch(effEditClose);
    }

    X11HostWindow host{512, 512};
    std::unique_ptr<HostedPlugin> plugin;
};

TEST_F(EditorCycles, LeaveNoWindowConnectionOrMemoryBehind) {
    std::size_t childrenWhileOpen = 0;
    openIdleClose(&childrenWhileOpen);  // first use: libX11 loaded, bitmaps and caches made
    ASSERT_EQ(1u, childrenWhileOpen) << "the editor's window is a child of the host's";
    const int descriptors = openFileDescriptors();
    const long heap = heapInUse();

    const int cycles = cycleCount();
    int cyclesWithOneChild = 0;
    int cyclesLeavingChildren = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        openIdleClose(&childrenWhileOpen);
        cyclesWithOneChild += childrenWhileOpen == 1;
        cyclesLeavingChildren += !host.children().empty();
    }
    EXPECT_EQ(cycles, cyclesWithOneChild);
    EXPECT_EQ(0, cyclesLeavingChildren);
    EXPECT_EQ(descriptors, openFileDescriptors()) << "the editor's display connection closes with it";
    const long growth = heapInUse() - heap;
    EXPECT_LT(growth, kHeapSlackBytes) << "heap grew by " << growth << " bytes over " << cycles << " cycles";
    RecordProperty("heapGrowthBytes", std::to_string(growth));
}

}  // namespace
