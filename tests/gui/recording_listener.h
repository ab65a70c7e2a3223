// A control listener that writes down every value reported to it and, like
// the editor, redraws the control afterwards (unless told not to).
#pragma once

#include <vector>

#include "gui/control_listener.h"
#include "gui/gui_control.h"

struct RecordingListener : ControlListener {
    void valueChanged(DrawContext& context, GuiControl& control) override {
        values.push_back(control.getValue());
        tags.push_back(control.getTag());
        if (redraws) control.update(context);
    }

    std::vector<float> values;
    std::vector<std::int32_t> tags;
    bool redraws = true;
};
