// The Xlib functions the X11 backend calls, taken from libX11.so.6 when a
// window is first shown inside an X11 window. The plug-in does not link
// libX11, so it loads into hosts (and headless processes) that have none.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace win32subset {

struct XlibFunctions {
    decltype(&::XOpenDisplay) openDisplay;
    decltype(&::XCloseDisplay) closeDisplay;
    decltype(&::XSetErrorHandler) setErrorHandler;
    decltype(&::XSync) sync;
    decltype(&::XFlush) flush;
    decltype(&::XPending) pending;
    decltype(&::XConnectionNumber) connectionNumber;
    decltype(&::XNextEvent) nextEvent;
    decltype(&::XGetWindowAttributes) getWindowAttributes;
    decltype(&::XCreateWindow) createWindow;
    decltype(&::XDestroyWindow) destroyWindow;
    decltype(&::XMapWindow) mapWindow;
    decltype(&::XCreateGC) createGc;
    decltype(&::XFreeGC) freeGc;
    decltype(&::XCreateImage) createImage;
    decltype(&::XPutImage) putImage;
    decltype(&::XQueryPointer) queryPointer;
    decltype(&::XTranslateCoordinates) translateCoordinates;
};

// The functions, or null when libX11.so.6 or one of them is missing. Loaded
// once and kept for the life of the process.
const XlibFunctions* xlibFunctions();

}  // namespace win32subset
