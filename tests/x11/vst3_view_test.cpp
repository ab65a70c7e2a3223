// The VST 3 editor view in a real X11 window, as a Linux host drives it: it
// takes only X11 parents, sizes itself 512 x 512, becomes a child of the
// host's window, ticks from the host's run loop (never a loop of its own)
// and gives its timer back when removed; the view keeps its plug-in alive.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/vst3/plugin_under_test.h"

// Last: Xlib's macros (None, Bool, Status …) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

// A host frame whose run loop records the timer it is given.
class RecordingFrame {
public:
    Steinberg_IPlugFrame* frame() { return &frameSlot.interface; }
    Steinberg_Linux_ITimerHandler* timer = nullptr;
    std::uint64_t intervalMs = 0;
    int unregistered = 0;
    Steinberg_ViewRect resizedTo{};  // the last size the view asked for

private:
    Steinberg_tresult queryInterface(const char* iid, void** object) {
        if (sameInterfaceId(iid, Steinberg_Linux_IRunLoop_iid)) {
            *object = &runLoopSlot.interface;
            return Steinberg_kResultOk;
        }
        *object = nullptr;
        return Steinberg_kNoInterface;
    }
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_tresult resizeView(Steinberg_IPlugView*, Steinberg_ViewRect* size) {
        resizedTo = *size;
        return Steinberg_kResultOk;
    }
    Steinberg_tresult registerEventHandler(Steinberg_Linux_IEventHandler*, int) { return Steinberg_kResultFalse; }
    Steinberg_tresult unregisterEventHandler(Steinberg_Linux_IEventHandler*) { return Steinberg_kResultFalse; }
    Steinberg_tresult registerTimer(Steinberg_Linux_ITimerHandler* handler, std::uint64_t milliseconds) {
        timer = handler;
        intervalMs = milliseconds;
        return Steinberg_kResultOk;
    }
    Steinberg_tresult unregisterTimer(Steinberg_Linux_ITimerHandler* handler) {
        unregistered += handler == timer;
        return Steinberg_kResultOk;
    }

    static Steinberg_IPlugFrameVtbl frameTable;
    static Steinberg_Linux_IRunLoopVtbl runLoopTable;
    InterfaceSlot<Steinberg_IPlugFrame, RecordingFrame> frameSlot{{&frameTable}, this};
    InterfaceSlot<Steinberg_Linux_IRunLoop, RecordingFrame> runLoopSlot{{&runLoopTable}, this};
};

Steinberg_IPlugFrameVtbl RecordingFrame::frameTable = {
    Thunk<Steinberg_IPlugFrame, &RecordingFrame::queryInterface>::call,
    Thunk<Steinberg_IPlugFrame, &RecordingFrame::addRef>::call,
    Thunk<Steinberg_IPlugFrame, &RecordingFrame::release>::call,
    Thunk<Steinberg_IPlugFrame, &RecordingFrame::resizeView>::call,
};

Steinberg_Linux_IRunLoopVtbl RecordingFrame::runLoopTable = {
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::queryInterface>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::addRef>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::release>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::registerEventHandler>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::unregisterEventHandler>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::registerTimer>::call,
    Thunk<Steinberg_Linux_IRunLoop, &RecordingFrame::unregisterTimer>::call,
};

unsigned childWindows(Display* display, Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, window, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    return count;
}

TEST(Vst3View, OpensInTheHostsX11WindowAndTicksFromItsRunLoop) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) GTEST_SKIP() << "no X display";
    const Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 512, 512, 0, 0, 0);
    XMapWindow(display, host);
    XSync(display, False);

    auto* plugin = new PluginUnderTest;
    Steinberg_IPlugView* view = plugin->controller->lpVtbl->createView(plugin->controller, "editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(plugin->controller->lpVtbl->createView(plugin->controller, "other"), nullptr);
    delete plugin;  // the host lets go of the plug-in first; the view still works on it

    EXPECT_EQ(view->lpVtbl->isPlatformTypeSupported(view, "X11EmbedWindowID"), Steinberg_kResultTrue);
    EXPECT_EQ(view->lpVtbl->isPlatformTypeSupported(view, "HWND"), Steinberg_kResultFalse);
    Steinberg_ViewRect size{};
    ASSERT_EQ(view->lpVtbl->getSize(view, &size), Steinberg_kResultOk);
    EXPECT_EQ(size.right - size.left, 512);
    EXPECT_EQ(size.bottom - size.top, 512);
    EXPECT_EQ(view->lpVtbl->canResize(view), Steinberg_kResultTrue);  // to the sizes it draws

    RecordingFrame frame;
    view->lpVtbl->setFrame(view, frame.frame());
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(host));
    EXPECT_NE(view->lpVtbl->attached(view, parent, "HWND"), Steinberg_kResultOk);
    ASSERT_EQ(view->lpVtbl->attached(view, parent, "X11EmbedWindowID"), Steinberg_kResultOk);
    EXPECT_EQ(childWindows(display, host), 1u) << "the editor's window is a child of the host's";
    ASSERT_NE(frame.timer, nullptr) << "no timer on the host's run loop";
    EXPECT_GT(frame.intervalMs, 0u);
    for (int tick = 0; tick < 3; ++tick) frame.timer->lpVtbl->onTimer(frame.timer);

    // The host's content scale: the view asks its frame for the new size and
    // keeps one child window, now of that size.
    Steinberg_IPlugViewContentScaleSupport* scaling = nullptr;
    ASSERT_EQ(view->lpVtbl->queryInterface(view, Steinberg_IPlugViewContentScaleSupport_iid,
                                           reinterpret_cast<void**>(&scaling)),
              Steinberg_kResultOk);
    EXPECT_EQ(scaling->lpVtbl->setContentScaleFactor(scaling, 2.0f), Steinberg_kResultTrue);
    EXPECT_EQ(frame.resizedTo.right - frame.resizedTo.left, 1024);
    ASSERT_EQ(view->lpVtbl->getSize(view, &size), Steinberg_kResultOk);
    EXPECT_EQ(size.right - size.left, 1024);
    EXPECT_EQ(childWindows(display, host), 1u);
    for (int tick = 0; tick < 3; ++tick) frame.timer->lpVtbl->onTimer(frame.timer);
    scaling->lpVtbl->release(scaling);
    // A size the user drags to: the nearest square the editor draws, which onSize then takes.
    struct Drag {
        Steinberg_int32 width, height, side;
    } drags[] = {{900, 800, 768}, {1000, 1300, 1024}, {500, 300, 512}};
    for (const Drag& d : drags) {
        Steinberg_ViewRect asked{0, 0, d.width, d.height};
        EXPECT_EQ(view->lpVtbl->checkSizeConstraint(view, &asked), Steinberg_kResultTrue);
        EXPECT_EQ(asked.right, d.side) << d.width << " x " << d.height;
        EXPECT_EQ(asked.bottom, d.side) << d.width << " x " << d.height;
    }
    Steinberg_ViewRect drawn{0, 0, 768, 768}, notDrawn{0, 0, 700, 700};
    EXPECT_EQ(view->lpVtbl->onSize(view, &drawn), Steinberg_kResultOk);
    EXPECT_NE(view->lpVtbl->onSize(view, &notDrawn), Steinberg_kResultOk);
    ASSERT_EQ(view->lpVtbl->getSize(view, &size), Steinberg_kResultOk);
    EXPECT_EQ(size.right - size.left, 768);

    ASSERT_EQ(view->lpVtbl->removed(view), Steinberg_kResultOk);
    EXPECT_EQ(frame.unregistered, 1);
    XSync(display, False);
    EXPECT_EQ(childWindows(display, host), 0u);
    view->lpVtbl->setFrame(view, nullptr);
    view->lpVtbl->release(view);

    XDestroyWindow(display, host);
    XCloseDisplay(display);
}

}  // namespace
