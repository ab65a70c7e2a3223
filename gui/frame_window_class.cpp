#include "gui/frame_window_class.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frame/plugin_entry.h"

int FrameWindowClass::users = 0;

namespace {

constexpr int colorButtonFace = 15;  // COLOR_BTNFACE
char className[32];

HINSTANCE moduleInstance() { return static_cast<HINSTANCE>(moduleHandle); }

// Eight digits on 32-bit; the full handle on 64-bit so that no two modules share a name.
void formatName() {
    std::snprintf(className, sizeof(className), "Plugin%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(moduleHandle));
}

}  // namespace

const char* FrameWindowClass::name() {
    // While registered, the name the class was registered under; the module
    // handle does not change while the library is loaded.
    if (users == 0) formatName();
    return className;
}

void FrameWindowClass::acquire(WNDPROC windowProcedure) {
    if (++users != 1) return;
    formatName();
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.style = CS_DBLCLKS;  // a double-click returns a knob to its program's value
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = moduleInstance();
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32512)));
    windowClass.hbrBackground = GetSysColorBrush(colorButtonFace);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = name();
    RegisterClassA(&windowClass);
}

void FrameWindowClass::release() {
    if (users == 0) return;
    if (--users == 0) UnregisterClassA(className, moduleInstance());
}
