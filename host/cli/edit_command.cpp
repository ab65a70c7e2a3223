// roomplate edit: the editor inside a top-level X11 window, as a Linux host
// shows it: effEditOpen with the window's id, effEditIdle about 30 times a
// second, and every automation the editor sends printed as it comes.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"
#include "host/cli/plugin_loading.h"

// Last: Xlib's macros (Success, None, Bool …) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr auto kIdleInterval = std::chrono::milliseconds(33);

struct EditOptions {
    std::string program;
    std::vector<std::string> settings;
    std::string plugin = defaultPluginPath();
};

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int) { stopRequested = 1; }

void printAutomation(const AutomationEvent& event) {
    std::printf("param %d = %.3f\n", event.index, static_cast<double>(event.value));
    std::fflush(stdout);
}

// The top-level window: fixed to the editor's size, closable by the window manager.
class TopLevelWindow {
public:
    TopLevelWindow(Display* display, int width, int height) : display(display) {
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                     static_cast<unsigned>(height), 0, BlackPixel(display, screen),
                                     BlackPixel(display, screen));
        XStoreName(display, window, "Roomplate");
        deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, window, &deleteWindow, 1);
        XSizeHints* hints = XAllocSizeHints();
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
        XSelectInput(display, window, StructureNotifyMask);
        XMapWindow(display, window);
        XSync(display, False);
    }
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;
    ~TopLevelWindow() {
        if (!destroyed) XDestroyWindow(display, window);
        XSync(display, False);
    }

    Window id() const { return window; }
    // Handles what arrived; false once the window was closed or destroyed.
    bool handleEvents() {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) return false;
            if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
                destroyed = true;
                return false;
            }
        }
        return true;
    }

private:
    Display* display;
    Window window = 0;
    Atom deleteWindow = 0;
    bool destroyed = false;
};

ERect editorRect(HostedPlugin& plugin) {
    ERect* rect = nullptr;
    if (plugin.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr || rect->right <= rect->left ||
        rect->bottom <= rect->top)
        throw CommandError("the plug-in has no editor (effEditGetRect answered no rectangle)");
    return *rect;
}

void edit(const EditOptions& options) {
    auto plugin = loadConfiguredPlugin(options.plugin, options.program, parseSettings(options.settings));
    const ERect rect = editorRect(*plugin);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) throw CommandError("cannot open the X display (is DISPLAY set?)");
    std::unique_ptr<Display, int (*)(Display*)> connection(display, XCloseDisplay);
    TopLevelWindow window(display, rect.right - rect.left, rect.bottom - rect.top);

    plugin->setAutomationListener(printAutomation);
    plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.id())));
    std::printf("editing in window 0x%lx\n", static_cast<unsigned long>(window.id()));
    std::fflush(stdout);

    stopRequested = 0;
    auto previousInterrupt = std::signal(SIGINT, onStopSignal);
    auto previousTerminate = std::signal(SIGTERM, onStopSignal);
    auto next = std::chrono::steady_clock::now();
    while (stopRequested == 0 && window.handleEvents()) {
        plugin->dispatch(effEditIdle);
        // After a long call (a drag runs inside one) the pace starts again from now.
        next = std::max(next + kIdleInterval, std::chrono::steady_clock::now());
        std::this_thread::sleep_until(next);
    }
    std::signal(SIGINT, previousInterrupt);
    std::signal(SIGTERM, previousTerminate);
    plugin->dispatch(effEditClose);
    plugin->setAutomationListener(nullptr);
}

}  // namespace

void addEditCommand(CLI::App& app) {
    auto* command = app.add_subcommand("edit", "Open a plug-in's editor in an X11 window and print its automation");
    auto options = std::make_shared<EditOptions>();
    addProgramAndSetOptions(*command, options->program, options->settings);
    command->add_option("--plugin", options->plugin, kPluginOptionHelp);
    command->footer(
        "Prints \"param INDEX = VALUE\" for every change the editor sends; closing the window ends it.\n\n"
        "Examples:\n  roomplate edit\n  roomplate edit --program Dattorro\n"
        "  roomplate edit --plugin /usr/lib/lxvst/DragonflyPlateReverb-vst.so");
    command->callback([options] { edit(*options); });
}
