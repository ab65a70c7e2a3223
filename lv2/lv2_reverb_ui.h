// The LV2 UI: the reverb's editor inside the window the host gives
// (ui:parent). It never touches the DSP instance: it keeps its own copy of
// the port values the host reported (port_event), which the controls show,
// and sends every edit to the host through write_function, with ui:touch
// around a gesture when the host offers it. It draws at the host's
// ui:scaleFactor (1, 1.5 or 2) and asks for that size through ui:resize.
//
// Threads: every function on the host's UI thread (LV2 runs a UI on one thread).
#pragma once

#include <lv2/ui/ui.h>

#include <array>
#include <cstdint>

#include "editor/editor_connection.h"
#include "editor/reverb_editor.h"
#include "reverb/parameter_table.h"

class Lv2ReverbUi final : private EditorConnection {
public:
    struct HostCalls {
        LV2UI_Write_Function write = nullptr;
        LV2UI_Controller controller = nullptr;
        const LV2UI_Touch* touch = nullptr;    // null when the host offers none
        const LV2UI_Resize* resize = nullptr;  // null when the host offers none
    };

    explicit Lv2ReverbUi(const HostCalls& host);
    Lv2ReverbUi(const Lv2ReverbUi&) = delete;
    Lv2ReverbUi& operator=(const Lv2ReverbUi&) = delete;
    ~Lv2ReverbUi();

    // Opens the editor as a child of the host's X11 window and asks the host
    // for its size; the editor's own X11 window, or 0 when it cannot open.
    std::uintptr_t open(void* parentWindow);
    // A float the host holds for a port (format 0); other ports and formats are ignored.
    void portEvent(std::uint32_t port, std::uint32_t bufferSize, std::uint32_t format, const void* buffer);
    // The host's idle tick: window events, drags and redraws.
    void idle() { editor.idle(); }
    // Before open: the host's ui:scaleFactor, drawn at the nearest of 1, 1.5
    // and 2. The widget (the editor's own window) keeps that size for its
    // life, so the host's handle to it never goes stale.
    void setScale(float factor) { editor.setScale(factor); }

private:
    void beginGesture(ParameterId id) override { touch(id, true); }
    void setFromEditor(ParameterId id, float value) override;
    void endGesture(ParameterId id) override { touch(id, false); }
    float parameterValue(ParameterId id) const override { return values[id]; }
    // The host keeps presets of its own and tells the UI none: "Init"'s values.
    float storedValue(ParameterId id) const override { return factoryValue(0, id); }
    void touch(ParameterId id, bool grabbed);

    HostCalls host;
    std::array<float, kParameterCount> values;  // as the host last reported them; "Init" until then
    ReverbEditor editor;
};
