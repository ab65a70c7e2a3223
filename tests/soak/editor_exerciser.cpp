#include "tests/soak/editor_exerciser.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>
#include <vector>

EditorExerciser::EditorExerciser() : display(XOpenDisplay(nullptr)) {}

EditorExerciser::~EditorExerciser() {
    if (display != nullptr) XCloseDisplay(display);
}

bool EditorExerciser::cycle(SoakInstance& instance, SoakRandom& random) {
    const int screen = DefaultScreen(display);
    const Window host = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kEditorSize, kEditorSize, 0,
                                            BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, host);
    XSync(display, False);
    const bool opened = instance.openEditor(static_cast<std::uintptr_t>(host));
    if (opened) {
        idle(instance, kIdleCalls);
        for (int i = 0; i < kClicks; ++i) {
            click(host, random);
            idle(instance, kIdleCalls);
        }
        instance.closeEditor();
    }
    XDestroyWindow(display, host);
    XSync(display, False);
    return opened;
}

void EditorExerciser::idle(SoakInstance& instance, int calls) {
    for (int i = 0; i < calls; ++i) {
        instance.idleEditor();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void EditorExerciser::click(unsigned long hostWindow, SoakRandom& random) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> editorWindows;
    if (XQueryTree(display, hostWindow, &root, &parent, &children, &count) != 0 && children != nullptr) {
        editorWindows.assign(children, children + count);
        XFree(children);
    }
    for (const Window window : editorWindows) {
        XEvent event{};
        event.xbutton.type = ButtonPress;
        event.xbutton.display = display;
        event.xbutton.window = window;
        event.xbutton.root = root;
        event.xbutton.button = Button1;
        event.xbutton.x = static_cast<int>(random.below(kEditorSize));
        event.xbutton.y = static_cast<int>(random.below(kEditorSize));
        event.xbutton.same_screen = True;
        XSendEvent(display, window, True, ButtonPressMask, &event);
        event.xbutton.type = ButtonRelease;
        event.xbutton.state = Button1Mask;
        XSendEvent(display, window, True, ButtonReleaseMask, &event);
    }
    XFlush(display);
}
