// A host's mapped top-level X11 window on a display connection of its own:
// the parent an editor opens into, and where to look for what it left.
// Xlib stays out of this header: its macros (None, Bool, Status …) clash
// with the plug-in's headers.
#pragma once

#include <cstdint>
#include <vector>

struct _XDisplay;

class X11HostWindow {
public:
    // Without an X display nothing opens: see isOpen.
    X11HostWindow(unsigned width, unsigned height);
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;
    ~X11HostWindow();

    bool isOpen() const { return display != nullptr; }
    std::uintptr_t id() const { return window; }
    // The windows whose parent is this one, as the server has them now.
    std::vector<std::uintptr_t> children() const;

private:
    _XDisplay* display = nullptr;
    unsigned long window = 0;
};
