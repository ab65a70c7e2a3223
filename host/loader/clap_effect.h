// A CLAP plug-in hosted by our CLI behind the VST 2 record the commands
// already drive: the record's dispatcher, setParameter, getParameter and
// processReplacing translate into the CLAP instance's calls, so render,
// info, bench, snapshot and edit run a .clap file as they run a VST 2 one.
//
// What maps to what: parameters by their position in the plug-in's params
// list (their values go in as param events on the next process, or through
// params.flush while not processing); programs are the presets its
// preset-discovery factory lists inside the plug-in, loaded through
// preset-load; effMainsChanged activates and starts processing; the editor
// opcodes are the gui extension, effEditIdle fires the timers the plug-in
// registered and reports the descriptors it watches (posix-fd-support) that
// turned ready. Values the plug-in sends back (its editor's edits) reach the
// host callback as audioMasterAutomate.
//
// Threads: the thread that loads it is the main thread; inside
// processReplacing it is the audio thread (thread-check answers so).
#pragma once

#include <clap/clap.h>

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/aeffect.h"
#include "host/loader/clap_preset_list.h"
#include "host/loader/clap_timer_list.h"
#include "host/loader/plugin_library.h"

class ClapEffect {
public:
    // The library's clap_entry must be there; creates its first plug-in.
    // Null with a one-line reason in error otherwise.
    static std::unique_ptr<ClapEffect> load(PluginLibrary& library, const std::string& path, HostCallback callback,
                                            std::string& error);
    ~ClapEffect();
    ClapEffect(const ClapEffect&) = delete;
    ClapEffect& operator=(const ClapEffect&) = delete;

    AEffect* effect() { return &record; }

private:
    static constexpr std::size_t kMaxPendingEvents = 4096;
    static constexpr std::size_t kMaxWatchedFds = 16;

    ClapEffect() = default;
    bool create(const std::string& path, std::string& error);
    template <typename Adapter>
    friend void bindRecord(AEffect& record, Adapter& adapter);
    static ClapEffect& of(const clap_host_t* host) { return *static_cast<ClapEffect*>(host->host_data); }
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin->get_extension(plugin, id));
    }

    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt);
    void setParameter(std::int32_t index, float value);
    float getParameter(std::int32_t index) const;
    void process(float** inputs, float** outputs, std::int32_t frames);
    bool parameterId(std::int32_t index, clap_id& id) const;
    void switchOn(bool on);
    void selectProgram(std::int32_t program);
    bool parameterText(std::int32_t opcode, std::int32_t index, char* text) const;
    VstIntPtr editorRect(void* rectOut);
    bool openEditor(void* parentWindow);
    // The editor made, with the scale set if one was asked for.
    bool createGui();
    // Before the editor opens: whether it draws at factor, which it then keeps.
    bool setEditorScale(float factor);
    void closeEditor();
    void idleEditor();
    void reportReadyFds();
    void setUpEventLists();
    void flushWhileStopped();
    // An output event: a value the plug-in set itself goes to the host as automation.
    void report(const clap_event_header_t* event);
    void setUpHost();

    AEffect record{};
    clap_host_t host{};
    HostCallback callback = nullptr;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_t* plugin = nullptr;
    const clap_plugin_params_t* params = nullptr;
    const clap_plugin_gui_t* gui = nullptr;
    const clap_plugin_timer_support_t* timerSupport = nullptr;
    const clap_plugin_posix_fd_support_t* fdSupport = nullptr;
    const clap_plugin_preset_load_t* presetLoad = nullptr;
    std::vector<ClapPreset> presets;
    std::int32_t currentProgram = 0;
    double sampleRate = 44100.0;
    std::uint32_t maxBlockFrames = 4096;
    bool active = false;
    bool editorOpen = false;
    double editorScale = 1.0;  // told to the editor when it is made
    bool flushRequested = false;
    std::int64_t steadyTime = 0;
    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<clap_event_param_value_t> pendingEvents;  // capacity reserved at load: process never allocates
    clap_input_events_t inputEvents{};
    clap_output_events_t outputEvents{};
    ClapTimerList timers;
    struct WatchedFd {
        int fd;
        clap_posix_fd_flags_t flags;
    };
    std::vector<WatchedFd> watchedFds;  // what posix-fd-support registered: polled at each idle
    ERect editorArea{};
};
