// A control listener that writes down every value reported to it and every
// gesture around them and, like the editor, redraws the control afterwards
// (unless told not to); it offers a value to restore when given one.
#pragma once

#include <string>
#include <vector>

#include "gui/control_listener.h"
#include "gui/gui_control.h"

struct RecordingListener : ControlListener {
    void valueChanged(DrawContext& context, GuiControl& control) override {
        values.push_back(control.getValue());
        tags.push_back(control.getTag());
        if (redraws) control.update(context);
    }

    void beginEdit(GuiControl&) override { events.push_back("begin"); }
    void endEdit(GuiControl&) override { events.push_back("end"); }
    bool valueToRestore(const GuiControl&, float& value) override {
        value = restoredValue;
        return hasRestoredValue;
    }

    std::vector<std::string> events;
    bool hasRestoredValue = false;
    float restoredValue = 0.0f;
    std::vector<float> values;
    std::vector<std::int32_t> tags;
    bool redraws = true;
};
