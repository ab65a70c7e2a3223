#include "platform/display/xlib_functions.h"

#include <dlfcn.h>

namespace win32subset {

namespace {

template <typename Function>
bool take(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool load(XlibFunctions& x) {
    // Never closed: Xlib keeps process-wide state (its error handlers, the
    // host's own connections) that must outlive our use.
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return false;
    return take(library, "XOpenDisplay", x.openDisplay) && take(library, "XCloseDisplay", x.closeDisplay) &&
           take(library, "XSetErrorHandler", x.setErrorHandler) && take(library, "XSync", x.sync) &&
           take(library, "XFlush", x.flush) && take(library, "XPending", x.pending) &&
           take(library, "XConnectionNumber", x.connectionNumber) && take(library, "XNextEvent", x.nextEvent) &&
           take(library, "XGetWindowAttributes", x.getWindowAttributes) &&
           take(library, "XCreateWindow", x.createWindow) && take(library, "XDestroyWindow", x.destroyWindow) &&
           take(library, "XMapWindow", x.mapWindow) && take(library, "XCreateGC", x.createGc) &&
           take(library, "XFreeGC", x.freeGc) && take(library, "XCreateImage", x.createImage) &&
           take(library, "XPutImage", x.putImage) && take(library, "XQueryPointer", x.queryPointer) &&
           take(library, "XTranslateCoordinates", x.translateCoordinates);
}

}  // namespace

const XlibFunctions* xlibFunctions() {
    static XlibFunctions functions{};
    static const bool loaded = load(functions);
    return loaded ? &functions : nullptr;
}

}  // namespace win32subset
