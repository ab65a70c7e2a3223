// One VST 2 plug-in instance loaded by our host: the library, the record its
// entry answered, and what the plug-in told the host through the callback.
//
// Threads: the plug-in may call the host from its window or audio thread;
// what is recorded is guarded by a mutex.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "frame/aeffect.h"
#include "host/loader/clap_effect.h"
#include "host/loader/plugin_library.h"
#include "host/loader/vst3_effect.h"

struct AutomationEvent {
    std::int32_t index;
    float value;
};

class HostedPlugin {
public:
    static constexpr VstIntPtr kHostVersion = 2400;

    // Loads the file and creates one instance: a VST 2 plug-in through
    // VSTPluginMain or main, a ".clap" file through clap_entry, a ".vst3"
    // bundle or module through GetPluginFactory (both behind the same
    // record, see ClapEffect and Vst3Effect).
    // Answers null with a one-line reason in error when the file is not a
    // usable plug-in; nothing stays loaded then.
    static std::unique_ptr<HostedPlugin> load(const std::string& path, std::string& error);

    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;
    // Closes the instance with effClose, then unloads the library.
    ~HostedPlugin();

    AEffect* effect() const { return record; }
    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) const;
    // Tells the plug-in the rate and block size and switches it on, as a host does before processing.
    void start(float sampleRate, std::int32_t blockSize) const;

    std::vector<AutomationEvent> automationEvents() const;
    // Called for each audioMasterAutomate as it arrives (for example to print it); any thread.
    void setAutomationListener(void (*listener)(const AutomationEvent&));
    int idleCalls() const;

private:
    HostedPlugin() = default;
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                              void* ptr, float opt);
    VstIntPtr answer(std::int32_t opcode, std::int32_t index, float opt);

    PluginLibrary library;
    std::unique_ptr<ClapEffect> clapEffect;  // a CLAP plug-in's instance; unloaded before the library
    std::unique_ptr<Vst3Effect> vst3Effect;  // a VST 3 plug-in's instance; likewise
    AEffect* record = nullptr;
    mutable std::mutex recordedMutex;
    std::vector<AutomationEvent> automation;
    void (*automationListener)(const AutomationEvent&) = nullptr;
    int idleCount = 0;
    mutable bool running = false;
};
