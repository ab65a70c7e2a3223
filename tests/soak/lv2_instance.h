// The LV2 bundle's plug-in library (and its UI library) opened as an LV2
// host does, by their descriptors. The host owns the control ports: values
// from the automation thread and from the main thread (programs, states, the
// UI's writes) travel through two ValueQueues and the audio thread writes
// them into the ports before run. Programs are the factory programs' port
// values, the state every control port's value, as LV2 hosts keep a plug-in
// without a state extension.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "lv2/port_layout.h"
#include "tests/soak/soak_instance.h"
#include "tests/soak/value_queue.h"

class Lv2Instance : public SoakInstance {
public:
    // bundle: the folder with the plug-in and UI libraries, ending in '/'.
    static std::unique_ptr<Lv2Instance> load(const std::string& bundle, float sampleRate, std::string& error);
    ~Lv2Instance() override;
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    int parameterCount() const override { return lv2_ports::kSoundParameterCount; }
    int programCount() const override { return 2; }
    void process(float* const* inputs, float* const* outputs, std::int32_t frames) override;
    void automate(std::int32_t index, float value) override;
    void selectProgram(std::int32_t program) override;
    std::vector<std::uint8_t> saveState() override;
    bool restoreState(const std::vector<std::uint8_t>& state) override;
    void restart() override;
    bool openEditor(std::uintptr_t parentWindow) override;
    void idleEditor() override;
    void closeEditor() override;

private:
    Lv2Instance() = default;
    static void uiWrite(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                        const void* buffer);

    std::string bundle;
    void* library = nullptr;
    void* uiLibrary = nullptr;
    const LV2_Descriptor* descriptor = nullptr;
    const LV2UI_Descriptor* uiDescriptor = nullptr;
    const LV2UI_Idle_Interface* uiIdle = nullptr;
    LV2_Handle handle = nullptr;
    LV2UI_Handle ui = nullptr;

    ValueQueue automation;  // from the automation thread
    ValueQueue control;     // from the main thread
    // The ports: written by the audio thread only, read by run.
    std::array<float, lv2_ports::kSoundParameterCount> ports{};
    float enabled = 1.0f;
    // What the ports hold, for the main thread's states.
    std::array<std::atomic<float>, lv2_ports::kSoundParameterCount> portValues{};
};
