// The UI library's one export, lv2ui_descriptor: an X11 UI (ui:X11UI) with
// the idle interface, handed to an Lv2ReverbUi.
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

#include "lv2/lv2_reverb_ui.h"
#include "lv2/plugin_uris.h"

namespace {

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    for (; features != nullptr && *features != nullptr; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

Lv2ReverbUi* uiOf(LV2UI_Handle handle) { return static_cast<Lv2ReverbUi*>(handle); }

// The host's ui:scaleFactor among its options (a float), or 1 when it gives none.
float scaleFactorOf(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    const auto* options = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    if (map == nullptr || options == nullptr) return 1.0f;
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* option = options; option->key != 0; ++option) {
        if (option->key == scaleFactor && option->type == floatType && option->size == sizeof(float) &&
            option->value != nullptr)
            return *static_cast<const float*>(option->value);
    }
    return 1.0f;
}

// Without a parent window there is nowhere to show the editor: the host gets no UI.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    if (parent == nullptr || pluginUri == nullptr || std::strcmp(pluginUri, lv2_uris::kPlugin) != 0) return nullptr;
    Lv2ReverbUi::HostCalls host;
    host.write = write;
    host.controller = controller;
    host.touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    host.resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    auto* ui = new (std::nothrow) Lv2ReverbUi(host);
    if (ui == nullptr) return nullptr;
    ui->setScale(scaleFactorOf(features));
    const std::uintptr_t window = ui->open(parent);
    if (window == 0) {
        delete ui;
        return nullptr;
    }
    if (widget != nullptr) *widget = reinterpret_cast<LV2UI_Widget>(window);
    return ui;
}

void cleanup(LV2UI_Handle handle) { delete uiOf(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    uiOf(handle)->portEvent(port, bufferSize, format, buffer);
}

int idle(LV2UI_Handle handle) {
    uiOf(handle)->idle();
    return 0;  // the host closes the UI, never the UI itself
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2_uris::kUi, instantiate, cleanup, portEvent, extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
