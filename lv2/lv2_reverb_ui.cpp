#include "lv2/lv2_reverb_ui.h"

#include <algorithm>
#include <cmath>

#include "lv2/port_layout.h"
#include "platform/display/native_backends.h"
#include "platform/display/x11_backend.h"
#include "reverb/parameter_table.h"

Lv2ReverbUi::Lv2ReverbUi(const HostCalls& host) : host(host), editor(*this, nullptr) {
    for (const ParameterInfo& info : kParameterTable) values[info.id] = info.initValue;
}

Lv2ReverbUi::~Lv2ReverbUi() { editor.close(); }

std::uintptr_t Lv2ReverbUi::open(void* parentWindow) {
    if (parentWindow == nullptr || editor.open(parentWindow) == 0) return 0;
    const std::uintptr_t window = win32subset::builtInX11Backend().nativeWindowOf(editor.getFrame()->getWindowHandle());
    if (window == 0) {
        editor.close();
        return 0;
    }
    ERect* rect = nullptr;
    if (host.resize != nullptr && editor.getRect(&rect) != 0 && rect != nullptr)
        host.resize->ui_resize(host.resize->handle, rect->right - rect->left, rect->bottom - rect->top);
    return window;
}

void Lv2ReverbUi::portEvent(std::uint32_t port, std::uint32_t bufferSize, std::uint32_t format, const void* buffer) {
    const ParameterId id = lv2_ports::parameterOf(port);
    if (!lv2_ports::isSoundParameter(id) || format != 0 || bufferSize != sizeof(float) || buffer == nullptr) return;
    const float value = *static_cast<const float*>(buffer);
    if (std::isnan(value)) return;  // the controls keep what they show
    values[id] = std::clamp(value, 0.0f, 1.0f);
    editor.setParameter(id, values[id]);
}

// Hosts do not echo a UI's own writes, so the editor hears its edit here,
// as it would from the plug-in (the value display under a knob follows it).
// "About" is the editor's own: it has no port and stays here.
void Lv2ReverbUi::setFromEditor(ParameterId id, float value) {
    values[id] = value;
    editor.setParameter(id, value);
    if (!lv2_ports::isSoundParameter(id) || host.write == nullptr) return;
    host.write(host.controller, lv2_ports::portOf(id), sizeof value, 0, &value);
}

void Lv2ReverbUi::touch(ParameterId id, bool grabbed) {
    if (host.touch != nullptr && lv2_ports::isSoundParameter(id))
        host.touch->touch(host.touch->handle, lv2_ports::portOf(id), grabbed);
}
