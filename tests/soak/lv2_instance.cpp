#include "tests/soak/lv2_instance.h"

#include <dlfcn.h>

#include <cstring>

#include "lv2/plugin_uris.h"
#include "reverb/parameter_table.h"

namespace {

template <typename Function>
Function symbolOf(void* library, const char* name) {
    return library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

}  // namespace

std::unique_ptr<Lv2Instance> Lv2Instance::load(const std::string& bundle, float sampleRate, std::string& error) {
    std::unique_ptr<Lv2Instance> instance(new Lv2Instance);
    instance->bundle = bundle;
    instance->library = dlopen((bundle + lv2_uris::kPluginBinary).c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = symbolOf<LV2_Descriptor_Function>(instance->library, "lv2_descriptor");
    instance->descriptor = entry != nullptr ? entry(0) : nullptr;
    const LV2_Feature* const noFeatures[] = {nullptr};
    if (instance->descriptor != nullptr)
        instance->handle =
            instance->descriptor->instantiate(instance->descriptor, sampleRate, bundle.c_str(), noFeatures);
    if (instance->handle == nullptr) {
        error = bundle + ": no LV2 instance (" + (dlerror() != nullptr ? "dlopen failed" : "instantiate failed") + ")";
        return nullptr;
    }
    for (const ParameterInfo& info : kParameterTable) {
        if (!lv2_ports::isSoundParameter(info.id)) continue;
        instance->ports[static_cast<std::size_t>(info.id)] = info.initValue;
        instance->portValues[static_cast<std::size_t>(info.id)].store(info.initValue, std::memory_order_relaxed);
        instance->descriptor->connect_port(instance->handle, lv2_ports::portOf(info.id),
                                           &instance->ports[static_cast<std::size_t>(info.id)]);
    }
    instance->descriptor->connect_port(instance->handle, lv2_ports::kEnabledPort, &instance->enabled);
    instance->descriptor->activate(instance->handle);
    instance->uiLibrary = dlopen((bundle + lv2_uris::kUiBinary).c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto uiEntry = symbolOf<LV2UI_DescriptorFunction>(instance->uiLibrary, "lv2ui_descriptor");
    instance->uiDescriptor = uiEntry != nullptr ? uiEntry(0) : nullptr;
    if (instance->uiDescriptor != nullptr && instance->uiDescriptor->extension_data != nullptr)
        instance->uiIdle =
            static_cast<const LV2UI_Idle_Interface*>(instance->uiDescriptor->extension_data(LV2_UI__idleInterface));
    return instance;
}

Lv2Instance::~Lv2Instance() {
    closeEditor();
    if (handle != nullptr) {
        descriptor->deactivate(handle);
        descriptor->cleanup(handle);
    }
    if (uiLibrary != nullptr) dlclose(uiLibrary);
    if (library != nullptr) dlclose(library);
}

void Lv2Instance::process(float* const* inputs, float* const* outputs, std::int32_t frames) {
    const auto write = [this](const QueuedValue& queued) {
        ports[static_cast<std::size_t>(queued.index)] = queued.value;
        portValues[static_cast<std::size_t>(queued.index)].store(queued.value, std::memory_order_relaxed);
    };
    automation.drain(write);
    control.drain(write);
    descriptor->connect_port(handle, lv2_ports::kInputLeft, inputs[0]);
    descriptor->connect_port(handle, lv2_ports::kInputRight, inputs[1]);
    descriptor->connect_port(handle, lv2_ports::kOutputLeft, outputs[0]);
    descriptor->connect_port(handle, lv2_ports::kOutputRight, outputs[1]);
    descriptor->run(handle, static_cast<std::uint32_t>(frames));
}

void Lv2Instance::automate(std::int32_t index, float value) {
    if (lv2_ports::isSoundParameter(index)) automation.push({index, value});
}

void Lv2Instance::selectProgram(std::int32_t program) {
    for (const ParameterInfo& info : kParameterTable)
        if (lv2_ports::isSoundParameter(info.id))
            control.push({info.id, program == 0 ? info.initValue : info.dattorroValue});
}

std::vector<std::uint8_t> Lv2Instance::saveState() {
    std::vector<std::uint8_t> state(sizeof(float) * portValues.size());
    for (std::size_t index = 0; index < portValues.size(); ++index) {
        const float value = portValues[index].load(std::memory_order_relaxed);
        std::memcpy(state.data() + sizeof(float) * index, &value, sizeof value);
    }
    return state;
}

bool Lv2Instance::restoreState(const std::vector<std::uint8_t>& state) {
    if (state.size() != sizeof(float) * portValues.size()) return false;
    for (std::size_t index = 0; index < portValues.size(); ++index) {
        float value = 0.0f;
        std::memcpy(&value, state.data() + sizeof(float) * index, sizeof value);
        control.push({static_cast<std::int32_t>(index), value});
    }
    return true;
}

void Lv2Instance::restart() {
    descriptor->deactivate(handle);
    descriptor->activate(handle);
}

void Lv2Instance::uiWrite(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                          const void* buffer) {
    const ParameterId id = lv2_ports::parameterOf(port);
    if (format != 0 || size != sizeof(float) || buffer == nullptr || !lv2_ports::isSoundParameter(id)) return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    static_cast<Lv2Instance*>(controller)->control.push({id, value});
}

bool Lv2Instance::openEditor(std::uintptr_t parentWindow) {
    if (uiDescriptor == nullptr || uiIdle == nullptr || ui != nullptr) return false;
    const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parentWindow)};
    const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
    const LV2_Feature* features[] = {&parentFeature, &idleFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    ui = uiDescriptor->instantiate(uiDescriptor, lv2_uris::kPlugin, bundle.c_str(), uiWrite, this, &widget, features);
    if (ui == nullptr) return false;
    for (std::size_t index = 0; index < portValues.size(); ++index) {
        const float value = portValues[index].load(std::memory_order_relaxed);
        uiDescriptor->port_event(ui, lv2_ports::kFirstControlPort + static_cast<std::uint32_t>(index), sizeof value, 0,
                                 &value);
    }
    return true;
}

void Lv2Instance::idleEditor() {
    if (ui != nullptr) uiIdle->idle(ui);
}

void Lv2Instance::closeEditor() {
    if (ui == nullptr) return;
    uiDescriptor->cleanup(ui);
    ui = nullptr;
}
