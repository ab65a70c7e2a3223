// Opening and closing the real editor in an X11 window, again and again in
// one process, leaves nothing behind: no X11 window, no display connection
// (file descriptor), no heap memory.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/loader/hosted_plugin.h"

// Last: Xlib's macros (None, Bool, Status …) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

// ROOMPLATE_EDITOR_CYCLES may change it (the leak check compares two counts).
constexpr int kDefaultCycles = 100;
constexpr int kIdleCallsPerCycle = 3;
// Allowed heap growth over all cycles: far below one editor's worth (its
// window surface alone is 1 MiB), above the allocator's own noise.
constexpr long kHeapSlackBytes = 64 * 1024;

int cycleCount() {
    const char* text = std::getenv("ROOMPLATE_EDITOR_CYCLES");
    return text != nullptr ? std::atoi(text) : kDefaultCycles;
}

int openFileDescriptors() {
    int count = 0;
    DIR* folder = opendir("/proc/self/fd");
    while (dirent* entry = readdir(folder)) count += entry->d_name[0] != '.';
    closedir(folder);
    return count;
}

long heapInUse() { return static_cast<long>(mallinfo2().uordblks); }

unsigned childWindows(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, window, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    return count;
}

class EditorCycles : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "no X display";
        host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 512, 512, 0, 0, 0);
        XMapWindow(display, host);
        XSync(display, False);
        std::string error;
        plugin = HostedPlugin::load(ROOMPLATE_PLUGIN_FILE, error);
        ASSERT_TRUE(plugin) << error;
    }
    void TearDown() override {
        plugin.reset();
        if (display != nullptr) {
            XDestroyWindow(display, host);
            XCloseDisplay(display);
        }
    }

    void openIdleClose(unsigned* childrenWhileOpen) {
        plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(host)));
        for (int i = 0; i < kIdleCallsPerCycle; ++i) plugin->dispatch(effEditIdle);
        *childrenWhileOpen = childWindows(display, host);
        plugin->dispatch(effEditClose);
    }

    Display* display = nullptr;
    Window host = 0;
    std::unique_ptr<HostedPlugin> plugin;
};

TEST_F(EditorCycles, LeaveNoWindowConnectionOrMemoryBehind) {
    unsigned childrenWhileOpen = 0;
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
        cyclesLeavingChildren += childWindows(display, host) != 0;
    }
    EXPECT_EQ(cycles, cyclesWithOneChild);
    EXPECT_EQ(0, cyclesLeavingChildren);
    EXPECT_EQ(descriptors, openFileDescriptors()) << "the editor's display connection closes with it";
    const long growth = heapInUse() - heap;
    EXPECT_LT(growth, kHeapSlackBytes) << "heap grew by " << growth << " bytes over " << cycles << " cycles";
    RecordProperty("heapGrowthBytes", std::to_string(growth));
}

}  // namespace
