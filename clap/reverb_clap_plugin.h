// One Roomplate instance as a CLAP host sees it: the clap_plugin record and
// its extensions, over a ReverbProcessor that does all the work. This class
// only translates: host events into parameter values at their sample time,
// the editor's edits into events for the host, streams into the state.
//
// Threads, as the CLAP headers fix them: init, destroy, activate,
// deactivate, get_extension, on_main_thread, the params queries, state,
// gui and timer calls on the main thread; start_processing,
// stop_processing, reset and process on the audio thread; params.flush on
// the audio thread while active, else on the main thread. When the host
// offers thread-check, calls on the wrong thread are refused.
#pragma once

#include <clap/clap.h>

#include <atomic>
#include <cstdint>

#include "clap/clap_editor_host.h"
#include "clap/editor_event_queue.h"
#include "editor/editor_connection.h"
#include "reverb/parameter_table.h"
#include "reverb/reverb_processor.h"

class ReverbClapPlugin final : private EditorConnection {
public:
    static const clap_plugin_descriptor_t kDescriptor;

    explicit ReverbClapPlugin(const clap_host_t* host);
    ~ReverbClapPlugin() = default;
    ReverbClapPlugin(const ReverbClapPlugin&) = delete;
    ReverbClapPlugin& operator=(const ReverbClapPlugin&) = delete;

    const clap_plugin_t* record() const { return &plugin; }
    static ReverbClapPlugin& of(const clap_plugin_t* plugin);

    bool init();
    bool activate(double sampleRate);
    void deactivate();
    void reset();
    clap_process_status process(const clap_process_t* process);
    const void* extension(const char* id) const;

    // params
    bool parameterValue(clap_id id, double& value) const;
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);
    // state: damaged data is refused and changes nothing
    bool saveState(const clap_ostream_t* stream) const;
    bool loadState(const clap_istream_t* stream);
    // preset-load: the factory programs by name ("Init", "Dattorro")
    bool loadProgram(const char* name);
    std::uint32_t tailSamples() const { return processor.tailSamples(); }

    ClapEditorHost& editorHost() { return editor; }
    // gui set_scale and set_size: the editor's new scale, kept for the state.
    bool setEditorScale(double factor);
    bool setEditorSize(std::uint32_t width, std::uint32_t height);
    bool onMainThread() const;
    bool onAudioThread() const;

private:
    void beginGesture(ParameterId id) override;
    void setFromEditor(ParameterId id, float value) override;
    void endGesture(ParameterId id) override;
    float parameterValue(ParameterId id) const override { return processor.parameter(id); }
    float storedValue(ParameterId id) const override { return factoryValue(processor.currentProgram(), id); }

    void applyEvents(const clap_input_events_t* in, std::uint32_t fromIndex, std::uint32_t toIndex);
    void applyParameter(clap_id id, double hostValue);
    // The frame at or after `frame` where a pair of the stream begins, so that an
    // event lands at the same place of the stream however the host cut it.
    std::uint32_t pairStartAtOrAfter(std::uint32_t frame) const;
    void processFrames(const clap_process_t* process, std::uint32_t from, std::uint32_t to);
    // Main thread: after the values changed wholesale, the editor and the host learn them.
    void announceAllValues();
    void askHostToFlush() const;

    clap_plugin_t plugin;
    const clap_host_t* host;
    const clap_host_params_t* hostParams = nullptr;
    const clap_host_thread_check_t* threadCheck = nullptr;
    ReverbProcessor processor;
    EditorEventQueue editorEvents;
    ClapEditorHost editor;
    bool active = false;
    bool streamAtOddFrame = false;  // audio thread: the next frame is a pair's second
};
