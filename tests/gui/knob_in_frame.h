// A frame in a host window holding one knob, 24 wide with a 12-pixel red
// handle at (100, 60): inset 6, r = 6, its angle measured around (106, 66) in
// frame coordinates. The knob reports to a RecordingListener.
#pragma once

#include "gui/gui_frame.h"
#include "gui/rotary_knob.h"
#include "gui_test_support.h"
#include "recording_listener.h"

struct KnobInFrame {
    static constexpr int kLeft = 100;
    static constexpr int kTop = 60;

    KnobInFrame() {
        frame = new GuiFrame(GuiRect(0, 0, 300, 200), host.handle(), nullptr);
        GuiBitmap* handle = new GuiBitmap(makeColorBitmap(host, 12, 12, [](int, int) { return colorRed; }));
        knob =
            new RotaryKnob(GuiRect(kLeft, kTop, kLeft + 24, kTop + 24), &listener, 11, nullptr, handle, GuiPoint(0, 0));
        handle->release();
        frame->addView(knob);
    }
    ~KnobInFrame() { delete frame; }
    KnobInFrame(const KnobInFrame&) = delete;
    KnobInFrame& operator=(const KnobInFrame&) = delete;

    HostWindow host;
    RecordingListener listener;
    GuiFrame* frame = nullptr;
    RotaryKnob* knob = nullptr;
};
