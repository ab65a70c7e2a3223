// The CLAP editor in a real X11 window, as a Linux host with posix-fd-support
// drives it: once its window shows, the plug-in asks the host to watch its
// X connection (a socket of this process), answers the host's reports on it,
// and gives the descriptor back before the connection can close.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/clap/clap_test_host.h"
#include "tests/x11/x11_host_window.h"

TEST(ClapGui, TheEditorsXConnectionIsWatchedWhileItShows) {
    X11HostWindow parent(640, 560);
    if (!parent.isOpen()) GTEST_SKIP() << "no X display";
    TestHost host(/*offerTimers=*/true, /*offerFds=*/true);
    TestInstance instance(host);
    const auto* gui = instance.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    const auto* fdSupport = instance.extension<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
    ASSERT_NE(gui, nullptr);
    ASSERT_NE(fdSupport, nullptr);

    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_TRUE(gui->create(instance.plugin(), CLAP_WINDOW_API_X11, false));
        EXPECT_TRUE(host.fds.empty()) << "nothing to watch before the window shows";
        clap_window_t window{CLAP_WINDOW_API_X11, {nullptr}};
        window.x11 = parent.id();
        ASSERT_TRUE(gui->set_parent(instance.plugin(), &window));
        ASSERT_EQ(host.fds.size(), 1u);
        struct stat status {};
        ASSERT_EQ(fstat(host.fds[0], &status), 0);
        EXPECT_TRUE(S_ISSOCK(status.st_mode)) << "the descriptor is the X server connection";
        EXPECT_EQ(parent.children().size(), 1u);

        // Reports, readable or not, and of descriptors not its own, are taken in stride.
        fdSupport->on_fd(instance.plugin(), host.fds[0], CLAP_POSIX_FD_READ);
        fdSupport->on_fd(instance.plugin(), host.fds[0] + 100, CLAP_POSIX_FD_READ);
        fdSupport->on_fd(instance.plugin(), host.fds[0], CLAP_POSIX_FD_ERROR);

        gui->destroy(instance.plugin());
        EXPECT_TRUE(host.fds.empty()) << "the descriptor is given back when the editor goes";
        EXPECT_TRUE(parent.children().empty());
    }
}
