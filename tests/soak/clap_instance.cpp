#include "tests/soak/clap_instance.h"

#include <algorithm>
#include <cstring>

namespace {

thread_local bool onAudioThread = false;

}  // namespace

std::unique_ptr<ClapInstance> ClapInstance::load(const std::string& path, float sampleRate, std::int32_t maxBlockFrames,
                                                 std::string& error) {
    std::unique_ptr<ClapInstance> instance(new ClapInstance);
    if (!instance->create(path, sampleRate, maxBlockFrames, error)) return nullptr;
    return instance;
}

bool ClapInstance::create(const std::string& path, float sampleRate, std::int32_t maxBlockFrames, std::string& error) {
    if (!library.open(path, error)) return false;
    entry = static_cast<const clap_plugin_entry_t*>(library.findSymbol("clap_entry"));
    if (entry == nullptr || !entry->init(path.c_str())) {
        error = path + ": no clap_entry, or it failed";
        entry = nullptr;
        return false;
    }
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    const clap_plugin_descriptor_t* descriptor = factory != nullptr && factory->get_plugin_count(factory) > 0
                                                     ? factory->get_plugin_descriptor(factory, 0)
                                                     : nullptr;
    setUpHost();
    plugin = descriptor != nullptr ? factory->create_plugin(factory, &host, descriptor->id) : nullptr;
    if (plugin == nullptr || !plugin->init(plugin)) {
        error = path + ": the factory made no plug-in";
        return false;
    }
    params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    gui = extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    timerSupport = extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    presetLoad = extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
    if (params == nullptr || state == nullptr) {
        error = path + ": no params or state extension";
        return false;
    }
    for (std::uint32_t index = 0; index < params->count(plugin); ++index) {
        clap_param_info_t info{};
        if (params->get_info(plugin, index, &info)) parameterIds.push_back(info.id);
    }
    if (presetLoad != nullptr) presets = listPluginPresets(*entry, descriptor->id);
    if (!plugin->activate(plugin, sampleRate, 1, static_cast<std::uint32_t>(maxBlockFrames))) {
        error = path + ": activate failed";
        return false;
    }
    return true;
}

void ClapInstance::setUpHost() {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "roomplate soak";
    host.vendor = "Roomplate";
    host.url = "";
    host.version = "1";
    host.request_restart = [](const clap_host_t*) {};
    host.request_process = [](const clap_host_t*) {};
    host.request_callback = [](const clap_host_t*) {};
    host.get_extension = [](const clap_host_t*, const char* id) -> const void* {
        static const clap_host_thread_check_t threadCheck = {
            [](const clap_host_t* self) { return std::this_thread::get_id() == of(self).mainThread; },
            [](const clap_host_t*) { return onAudioThread; }};
        static const clap_host_params_t hostParams = {[](const clap_host_t*, clap_param_rescan_flags) {},
                                                      [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
                                                      [](const clap_host_t*) {}};
        static const clap_host_state_t hostState = {[](const clap_host_t*) {}};
        static const clap_host_timer_support_t timerSupport = {
            [](const clap_host_t* self, std::uint32_t, clap_id* timerId) { return of(self).timers.add(timerId); },
            [](const clap_host_t* self, clap_id timerId) { return of(self).timers.remove(timerId); }};
        if (id == nullptr) return nullptr;
        if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &threadCheck;
        if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &hostParams;
        if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &hostState;
        if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &timerSupport;
        return nullptr;
    };
}

ClapInstance::~ClapInstance() {
    if (plugin != nullptr) {
        closeEditor();
        if (processing) {  // the audio thread has ended: its last call is made here
            onAudioThread = true;
            plugin->stop_processing(plugin);
            onAudioThread = false;
        }
        plugin->deactivate(plugin);
        plugin->destroy(plugin);
    }
    if (entry != nullptr) entry->deinit();
}

void ClapInstance::process(float* const* inputs, float* const* outputs, std::int32_t frames) {
    onAudioThread = true;
    if (!processing) processing = plugin->start_processing(plugin);
    blockEventCount = 0;
    automation.drain([this](const QueuedValue& queued) {
        clap_event_param_value_t& event = blockEvents[blockEventCount++];
        event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        event.param_id = parameterIds[static_cast<std::size_t>(queued.index)];
        event.note_id = -1;
        event.port_index = -1;
        event.channel = -1;
        event.key = -1;
        event.value = queued.value;
    });
    const clap_input_events_t inputEvents{
        this,
        [](const clap_input_events_t* list) { return static_cast<const ClapInstance*>(list->ctx)->blockEventCount; },
        [](const clap_input_events_t* list, std::uint32_t index) -> const clap_event_header_t* {
            const auto* self = static_cast<const ClapInstance*>(list->ctx);
            return index < self->blockEventCount ? &self->blockEvents[index].header : nullptr;
        }};
    const clap_output_events_t outputEvents{
        nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
    clap_audio_buffer_t input{const_cast<float**>(inputs), nullptr, 2, 0, 0};
    clap_audio_buffer_t output{const_cast<float**>(outputs), nullptr, 2, 0, 0};
    clap_process_t call{};
    call.steady_time = steadyTime;
    call.frames_count = static_cast<std::uint32_t>(frames);
    call.audio_inputs = &input;
    call.audio_outputs = &output;
    call.audio_inputs_count = 1;
    call.audio_outputs_count = 1;
    call.in_events = &inputEvents;
    call.out_events = &outputEvents;
    plugin->process(plugin, &call);
    steadyTime += frames;
    onAudioThread = false;
}

void ClapInstance::automate(std::int32_t index, float value) {
    if (index >= 0 && index < parameterCount()) automation.push({index, value});
}

void ClapInstance::selectProgram(std::int32_t program) {
    if (program < 0 || program >= programCount()) return;
    presetLoad->from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                              presets[static_cast<std::size_t>(program)].loadKey.c_str());
}

std::vector<std::uint8_t> ClapInstance::saveState() {
    std::vector<std::uint8_t> bytes;
    const clap_ostream_t stream{&bytes, [](const clap_ostream_t* self, const void* data, std::uint64_t size) {
                                    auto* out = static_cast<std::vector<std::uint8_t>*>(self->ctx);
                                    const auto* first = static_cast<const std::uint8_t*>(data);
                                    out->insert(out->end(), first, first + size);
                                    return static_cast<std::int64_t>(size);
                                }};
    if (!state->save(plugin, &stream)) bytes.clear();
    return bytes;
}

bool ClapInstance::restoreState(const std::vector<std::uint8_t>& bytes) {
    struct Reading {
        const std::vector<std::uint8_t>& bytes;
        std::size_t position;
    } reading{bytes, 0};
    const clap_istream_t stream{&reading, [](const clap_istream_t* self, void* data, std::uint64_t size) {
                                    auto* in = static_cast<Reading*>(self->ctx);
                                    const std::size_t count =
                                        std::min<std::size_t>(size, in->bytes.size() - in->position);
                                    if (count > 0) std::memcpy(data, in->bytes.data() + in->position, count);
                                    in->position += count;
                                    return static_cast<std::int64_t>(count);
                                }};
    return state->load(plugin, &stream);
}

// Only while no block is processed: the audio thread's calls run here.
void ClapInstance::restart() {
    onAudioThread = true;
    plugin->reset(plugin);
    onAudioThread = false;
}

bool ClapInstance::openEditor(std::uintptr_t parentWindow) {
    if (gui == nullptr || editorOpen || !gui->create(plugin, CLAP_WINDOW_API_X11, false)) return false;
    clap_window_t window{};
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = static_cast<clap_xwnd>(parentWindow);
    editorOpen = true;
    if (!gui->set_parent(plugin, &window) || !gui->show(plugin)) {
        closeEditor();
        return false;
    }
    return true;
}

void ClapInstance::idleEditor() {
    if (timerSupport == nullptr) return;
    // A copy: a timer's call may unregister timers.
    const std::vector<clap_id> due = timers.registered();
    for (const clap_id timer : due) timerSupport->on_timer(plugin, timer);
}

void ClapInstance::closeEditor() {
    if (!editorOpen) return;
    gui->hide(plugin);
    gui->destroy(plugin);
    editorOpen = false;
}
