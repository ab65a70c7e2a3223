#include "tests/x11/x11_host_window.h"

#include <X11/Xlib.h>

X11HostWindow::X11HostWindow(unsigned width, unsigned height) : display(XOpenDisplay(nullptr)) {
    if (display == nullptr) return;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
}

X11HostWindow::~X11HostWindow() {
    if (display == nullptr) return;
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

std::vector<std::uintptr_t> X11HostWindow::children() const {
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    XQueryTree(display, window, &root, &parent, &list, &count);
    std::vector<std::uintptr_t> found(list, list + count);
    if (list != nullptr) XFree(list);
    return found;
}
