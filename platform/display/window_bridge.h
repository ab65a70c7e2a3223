// How one copy of our window layer shows windows inside another's. A plug-in
// carries its own copy, private to its library, so the windows of a host
// built on the same layer (the roomplate CLI) are not its windows. A host
// that exports roomplateWindowBridge lends its windows: the plug-in's window
// becomes a real child window of the host's, which receives its pixels and
// passes its paints and clicks back, as an X11 window would.
//
// A plain C interface, versioned, so that two builds of the layer may meet.
// Everything runs on the windows' one thread.
#pragma once

#include <stdint.h>

extern "C" {

// The host's child window tells its owner: WM_PAINT (lParam points to the
// int32_t[4] left, top, right, bottom that the host no longer shows),
// WM_LBUTTONDOWN / WM_LBUTTONDBLCLK / WM_RBUTTONDOWN / WM_MOUSEWHEEL (wParam
// and lParam as Windows gives them; the wheel's position on the screen)
// and WM_DESTROY (the host destroyed it; it is stale from then on).
typedef void (*RoomplateBridgeSink)(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct RoomplateWindowBridge {
    uint32_t version;   // kRoomplateWindowBridgeVersion
    const void* owner;  // which copy of the layer answers: a copy never bridges to itself
    // The client size of one of the host's windows; 0 for anything else.
    int (*clientSize)(void* window, int32_t* width, int32_t* height);
    // A visible child window of parent; its events go to sink. Null on failure.
    void* (*createChild)(void* parent, int32_t x, int32_t y, int32_t width, int32_t height, RoomplateBridgeSink sink,
                         void* context);
    void (*destroyChild)(void* child);
    // Copies area (left, top, right, bottom) of a width-wide block of
    // 0x00RRGGBB pixels, rows top to bottom, to the same place in the child.
    void (*present)(void* child, const uint32_t* pixels, int32_t width, const int32_t* area);
    // Where the child's client area lies on the host's screen.
    int (*screenOrigin)(void* child, int32_t* x, int32_t* y);
    // The host's cursor and key state (GetCursorPos, GetAsyncKeyState).
    int (*cursorPosition)(int32_t* x, int32_t* y);
    int16_t (*keyState)(int32_t virtualKey);
};

enum { kRoomplateWindowBridgeVersion = 1 };

// Exported by a host executable that lends its windows (linked with
// --export-dynamic-symbol); found by plug-ins through dlsym.
const RoomplateWindowBridge* roomplateWindowBridge(void);
}

namespace win32subset {
// The owner this copy's own bridge answers with.
const void* ownWindowBridgeOwner();
}  // namespace win32subset
