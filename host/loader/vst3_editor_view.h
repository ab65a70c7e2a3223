// A VST 3 controller's "editor" view attached to a host's native window
// (an HWND, or an X11 window ID) in a frame of ours that refuses resizing and
// runs the view's timers and file descriptors when idled.
//
// Threads: the host's main thread, for every call.
#pragma once

#include <vst3_c_api.h>

#include "host/loader/vst3_plug_frame.h"

class Vst3EditorView {
public:
    Vst3EditorView() = default;
    Vst3EditorView(const Vst3EditorView&) = delete;
    Vst3EditorView& operator=(const Vst3EditorView&) = delete;
    ~Vst3EditorView() { close(); }

    // False when a view is already open, or the controller made none that attaches here.
    bool open(Steinberg_Vst_IEditController* controller, void* parentWindow);
    // What the view registered with the frame's run loop runs once.
    void idle() { plugFrame.idle(); }
    void close();
    // The open view, or null.
    Steinberg_IPlugView* view() const { return attached; }

private:
    Vst3PlugFrame plugFrame;
    Steinberg_IPlugView* attached = nullptr;
};
