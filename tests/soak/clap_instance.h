// A .clap file driven through the CLAP interface itself, as a CLAP host does:
// automation travels through a ValueQueue into the next process call's input
// events; programs are the presets its preset-discovery factory lists, loaded
// with preset-load; the state through the state extension; the editor
// through the gui extension, idled by firing the timers it registered.
// The host answers thread-check: the main thread is the one that loaded it.
#pragma once

#include <clap/clap.h>

#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/loader/clap_preset_list.h"
#include "host/loader/clap_timer_list.h"
#include "host/loader/plugin_library.h"
#include "tests/soak/soak_instance.h"
#include "tests/soak/value_queue.h"

class ClapInstance : public SoakInstance {
public:
    static std::unique_ptr<ClapInstance> load(const std::string& path, float sampleRate, std::int32_t maxBlockFrames,
                                              std::string& error);
    ~ClapInstance() override;
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    int parameterCount() const override { return static_cast<int>(parameterIds.size()); }
    int programCount() const override { return static_cast<int>(presets.size()); }
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
    ClapInstance() = default;
    bool create(const std::string& path, float sampleRate, std::int32_t maxBlockFrames, std::string& error);
    void setUpHost();
    static ClapInstance& of(const clap_host_t* host) { return *static_cast<ClapInstance*>(host->host_data); }
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin->get_extension(plugin, id));
    }

    PluginLibrary library;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_t* plugin = nullptr;
    const clap_plugin_params_t* params = nullptr;
    const clap_plugin_state_t* state = nullptr;
    const clap_plugin_gui_t* gui = nullptr;
    const clap_plugin_timer_support_t* timerSupport = nullptr;
    const clap_plugin_preset_load_t* presetLoad = nullptr;
    clap_host_t host{};
    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<clap_id> parameterIds;
    std::vector<ClapPreset> presets;
    ClapTimerList timers;
    bool processing = false;  // audio thread: start_processing was called
    bool editorOpen = false;
    std::int64_t steadyTime = 0;

    ValueQueue automation;  // from the automation thread
    // The events of the block being processed: filled from the queue, never grown.
    std::array<clap_event_param_value_t, ValueQueue::kCapacity> blockEvents{};
    std::uint32_t blockEventCount = 0;
};
