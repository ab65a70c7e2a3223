#include "host/loader/clap_effect.h"

#include <algorithm>
#include <cstring>

#include "host/loader/record_binding.h"

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace {

// effVendorSpecific's index and value for "scale the editor by opt".
constexpr std::int32_t kScaleRequest = 0x50726553;    // 'PreS'
constexpr VstIntPtr kScaleRequestValue = 0x41654373;  // 'AeCs'

#if defined(_WIN32)
const char* const kNativeWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kNativeWindowApi = CLAP_WINDOW_API_X11;
#endif
thread_local bool insideProcess = false;  // this thread is in the plug-in's process call

}  // namespace

std::unique_ptr<ClapEffect> ClapEffect::load(PluginLibrary& library, const std::string& path, HostCallback callback,
                                             std::string& error) {
    auto* entry = static_cast<const clap_plugin_entry_t*>(library.findSymbol("clap_entry"));
    if (entry == nullptr) {
        error = path + " has no clap_entry: not a CLAP plug-in";
        return nullptr;
    }
    if (!clap_version_is_compatible(entry->clap_version) || entry->init == nullptr || !entry->init(path.c_str())) {
        error = path + ": the CLAP entry refused to start (version " + std::to_string(entry->clap_version.major) + "." +
                std::to_string(entry->clap_version.minor) + ")";
        return nullptr;
    }
    std::unique_ptr<ClapEffect> hosted(new ClapEffect);
    hosted->entry = entry;
    hosted->callback = callback;
    if (!hosted->create(path, error)) return nullptr;
    return hosted;
}

bool ClapEffect::create(const std::string& path, std::string& error) {
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (factory == nullptr || factory->get_plugin_count(factory) == 0) {
        error = path + ": the CLAP library offers no plug-in";
        return false;
    }
    const clap_plugin_descriptor_t* descriptor = factory->get_plugin_descriptor(factory, 0);
    setUpHost();
    plugin = descriptor != nullptr ? factory->create_plugin(factory, &host, descriptor->id) : nullptr;
    if (plugin == nullptr || !plugin->init(plugin)) {
        error = path + ": the CLAP plug-in could not be created";
        if (plugin != nullptr) plugin->destroy(plugin);
        plugin = nullptr;
        return false;
    }
    params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    gui = extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    timerSupport = extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    fdSupport = extension<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
    presetLoad = extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
    if (presetLoad != nullptr) presets = listPluginPresets(*entry, descriptor->id);
    pendingEvents.reserve(kMaxPendingEvents);
    setUpEventLists();
    watchedFds.reserve(kMaxWatchedFds);

    bindRecord(record, *this);
    record.numPrograms = static_cast<std::int32_t>(presets.size());
    record.numParams = params != nullptr ? static_cast<std::int32_t>(params->count(plugin)) : 0;
    record.flags = effFlagsCanReplacing | (gui != nullptr ? effFlagsHasEditor : 0);
    return true;
}

void ClapEffect::setUpHost() {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "roomplate";
    host.vendor = "Roomplate";
    host.url = "";
    host.version = "1";
    host.request_restart = [](const clap_host_t*) {};
    host.request_process = [](const clap_host_t*) {};
    host.request_callback = [](const clap_host_t*) {};
    host.get_extension = [](const clap_host_t*, const char* id) -> const void* {
        static const clap_host_thread_check_t threadCheck = {
            [](const clap_host_t* self) { return std::this_thread::get_id() == of(self).mainThread && !insideProcess; },
            [](const clap_host_t*) { return insideProcess; }};
        static const clap_host_params_t hostParams = {[](const clap_host_t*, clap_param_rescan_flags) {},
                                                      [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
                                                      [](const clap_host_t* self) { of(self).flushRequested = true; }};
        static const clap_host_timer_support_t timerSupport = {
            [](const clap_host_t* self, std::uint32_t, clap_id* timerId) { return of(self).timers.add(timerId); },
            [](const clap_host_t* self, clap_id timerId) { return of(self).timers.remove(timerId); }};
#if !defined(_WIN32)
        static const clap_host_posix_fd_support_t fdSupport = {
            [](const clap_host_t* self, int fd, clap_posix_fd_flags_t flags) {
                auto& watched = of(self).watchedFds;
                if (fd < 0 || watched.size() >= kMaxWatchedFds) return false;
                watched.push_back({fd, flags});
                return true;
            },
            [](const clap_host_t* self, int fd, clap_posix_fd_flags_t flags) {
                for (WatchedFd& entry : of(self).watchedFds)
                    if (entry.fd == fd) entry.flags = flags;
                return true;
            },
            [](const clap_host_t* self, int fd) {
                auto& watched = of(self).watchedFds;
                const auto end = std::remove_if(watched.begin(), watched.end(),
                                                [fd](const WatchedFd& entry) { return entry.fd == fd; });
                const bool found = end != watched.end();
                watched.erase(end, watched.end());
                return found;
            }};
#endif
        if (id == nullptr) return nullptr;
        if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &threadCheck;
        if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &hostParams;
        if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &timerSupport;
#if !defined(_WIN32)
        if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0) return &fdSupport;
#endif
        return nullptr;
    };
}

ClapEffect::~ClapEffect() {
    if (plugin != nullptr) {
        closeEditor();
        switchOn(false);
        plugin->destroy(plugin);
    }
    if (entry != nullptr) entry->deinit();
}

VstIntPtr ClapEffect::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effSetSampleRate: sampleRate = opt > 0.0f ? opt : sampleRate; return 0;
        case effSetBlockSize: maxBlockFrames = value > 0 ? static_cast<std::uint32_t>(value) : maxBlockFrames; return 0;
        case effMainsChanged: switchOn(value != 0); return 0;
        case effGetProgram: return currentProgram;
        case effSetProgram: selectProgram(static_cast<std::int32_t>(value)); return 0;
        case effGetProgramName:
            if (text != nullptr) copyVstText(text, presets.empty() ? "" : presets[currentProgram].name.c_str());
            return 1;
        case effGetProgramNameIndexed:
            if (text == nullptr || index < 0 || index >= record.numPrograms) return 0;
            copyVstText(text, presets[index].name.c_str());
            return 1;
        case effGetParamName:
        case effGetParamDisplay:
        case effGetParamLabel: return text != nullptr && parameterText(opcode, index, text) ? 1 : 0;
        case effGetEffectName:
        case effGetProductString:
            if (text != nullptr) copyVstText(text, plugin->desc->name);
            return 1;
        case effGetVendorString:
            if (text != nullptr) copyVstText(text, plugin->desc->vendor);
            return 1;
        case effEditGetRect: return editorRect(ptr);
        case effEditOpen: return openEditor(ptr) ? 1 : 0;
        case effEditClose: closeEditor(); return 0;
        case effEditIdle: idleEditor(); return 0;
        case effVendorSpecific:
            // The hosts' convention for a VST 2 editor's scale: 'PreS', 'AeCs', the factor in opt.
            return index == kScaleRequest && value == kScaleRequestValue && setEditorScale(opt) ? 1 : 0;
        default: return 0;
    }
}

bool ClapEffect::parameterId(std::int32_t index, clap_id& id) const {
    clap_param_info_t info{};
    if (params == nullptr || index < 0 || !params->get_info(plugin, static_cast<std::uint32_t>(index), &info))
        return false;
    id = info.id;
    return true;
}

void ClapEffect::setParameter(std::int32_t index, float value) {
    clap_id id = 0;
    if (!parameterId(index, id) || pendingEvents.size() >= kMaxPendingEvents) return;
    clap_event_param_value_t event{};
    event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    pendingEvents.push_back(event);
    // Not processing: the plug-in takes it at once, as a VST 2 plug-in does.
    if (!active) flushWhileStopped();
}

float ClapEffect::getParameter(std::int32_t index) const {
    clap_id id = 0;
    double value = 0.0;
    if (!parameterId(index, id) || !params->get_value(plugin, id, &value)) return 0.0f;
    return static_cast<float>(value);
}

// The pending values go in; what the plug-in sends out is reported.
void ClapEffect::setUpEventLists() {
    inputEvents.ctx = this;
    inputEvents.size = [](const clap_input_events_t* list) {
        return static_cast<std::uint32_t>(static_cast<const ClapEffect*>(list->ctx)->pendingEvents.size());
    };
    inputEvents.get = [](const clap_input_events_t* list, std::uint32_t index) -> const clap_event_header_t* {
        const auto& events = static_cast<const ClapEffect*>(list->ctx)->pendingEvents;
        return index < events.size() ? &events[index].header : nullptr;
    };
    outputEvents.ctx = this;
    outputEvents.try_push = [](const clap_output_events_t* list, const clap_event_header_t* event) {
        if (event != nullptr) static_cast<ClapEffect*>(list->ctx)->report(event);
        return true;
    };
}

void ClapEffect::flushWhileStopped() {
    if (params == nullptr) return;
    params->flush(plugin, &inputEvents, &outputEvents);
    pendingEvents.clear();
    flushRequested = false;
}

void ClapEffect::report(const clap_event_header_t* event) {
    if (event->space_id != CLAP_CORE_EVENT_SPACE_ID || event->type != CLAP_EVENT_PARAM_VALUE) return;
    const auto* value = reinterpret_cast<const clap_event_param_value_t*>(event);
    for (std::int32_t index = 0; index < record.numParams; ++index) {
        clap_id id = 0;
        if (parameterId(index, id) && id == value->param_id) {
            callback(&record, audioMasterAutomate, index, 0, nullptr, static_cast<float>(value->value));
            return;
        }
    }
}

void ClapEffect::switchOn(bool on) {
    if (on == active) return;
    if (on) {
        if (!plugin->activate(plugin, sampleRate, 1, maxBlockFrames)) return;
        active = true;
        plugin->start_processing(plugin);  // the CLI's audio thread is this one, between calls
        return;
    }
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    active = false;
}

void ClapEffect::process(float** inputs, float** outputs, std::int32_t frames) {
    if (!active || frames <= 0) return;
    clap_audio_buffer_t input{inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t output{outputs, nullptr, 2, 0, 0};
    clap_process_t call{};
    call.steady_time = steadyTime;
    call.frames_count = static_cast<std::uint32_t>(frames);
    call.audio_inputs = &input;
    call.audio_outputs = &output;
    call.audio_inputs_count = 1;
    call.audio_outputs_count = 1;
    call.in_events = &inputEvents;
    call.out_events = &outputEvents;
    insideProcess = true;
    plugin->process(plugin, &call);
    insideProcess = false;
    pendingEvents.clear();
    steadyTime += frames;
}

void ClapEffect::selectProgram(std::int32_t program) {
    if (program < 0 || program >= record.numPrograms) return;
    if (presetLoad->from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                  presets[program].loadKey.c_str()))
        currentProgram = program;
}

bool ClapEffect::parameterText(std::int32_t opcode, std::int32_t index, char* text) const {
    clap_param_info_t info{};
    if (params == nullptr || index < 0 || !params->get_info(plugin, static_cast<std::uint32_t>(index), &info))
        return false;
    if (opcode == effGetParamName) {
        copyVstText(text, info.name);
        return true;
    }
    if (opcode == effGetParamLabel) {
        copyVstText(text, "");  // a CLAP value text carries its unit
        return true;
    }
    double value = 0.0;
    char display[256] = {};
    if (!params->get_value(plugin, info.id, &value) ||
        !params->value_to_text(plugin, info.id, value, display, sizeof(display)))
        return false;
    copyVstText(text, display);
    return true;
}

VstIntPtr ClapEffect::editorRect(void* rectOut) {
    std::uint32_t width = 0, height = 0;
    if (gui == nullptr || rectOut == nullptr || !gui->get_size(plugin, &width, &height)) {
        // Asked before the editor exists: create it for the answer, as hosts do.
        const bool madeHere = gui != nullptr && !editorOpen && createGui();
        const bool sized = madeHere && gui->get_size(plugin, &width, &height);
        if (madeHere) gui->destroy(plugin);
        if (!sized || rectOut == nullptr) return 0;
    }
    editorArea = {0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
    *static_cast<ERect**>(rectOut) = &editorArea;
    return 1;
}

bool ClapEffect::openEditor(void* parentWindow) {
    if (gui == nullptr || editorOpen) return false;
    clap_window_t window{kNativeWindowApi, {nullptr}};
#if defined(_WIN32)
    window.win32 = parentWindow;
#else
    window.x11 = static_cast<clap_xwnd>(reinterpret_cast<std::uintptr_t>(parentWindow));
#endif
    if (!createGui()) return false;
    if (!gui->set_parent(plugin, &window)) {
        gui->destroy(plugin);
        return false;
    }
    gui->show(plugin);
    editorOpen = true;
    return true;
}

bool ClapEffect::createGui() {
    if (!gui->create(plugin, kNativeWindowApi, false)) return false;
    if (editorScale != 1.0) gui->set_scale(plugin, editorScale);
    return true;
}

bool ClapEffect::setEditorScale(float factor) {
    if (gui == nullptr || editorOpen || !(factor > 0.0f)) return false;
    // Tried on an editor made for the question: a plug-in that cannot draw at
    // the factor says so now, not when its window is already shown.
    if (!gui->create(plugin, kNativeWindowApi, false)) return false;
    const bool accepted = gui->set_scale(plugin, factor);
    gui->destroy(plugin);
    if (accepted) editorScale = factor;
    return accepted;
}

void ClapEffect::closeEditor() {
    if (!editorOpen) return;
    gui->hide(plugin);
    gui->destroy(plugin);
    editorOpen = false;
}

// Each watched descriptor that is ready, as a host's event loop reports it.
void ClapEffect::reportReadyFds() {
#if !defined(_WIN32)
    if (fdSupport == nullptr) return;
    for (const WatchedFd& entry : std::vector<WatchedFd>(watchedFds)) {
        pollfd ready{entry.fd, 0, 0};
        if ((entry.flags & CLAP_POSIX_FD_READ) != 0) ready.events |= POLLIN;
        if ((entry.flags & CLAP_POSIX_FD_WRITE) != 0) ready.events |= POLLOUT;
        if (poll(&ready, 1, 0) <= 0) continue;
        clap_posix_fd_flags_t flags = 0;
        if ((ready.revents & POLLIN) != 0) flags |= CLAP_POSIX_FD_READ;
        if ((ready.revents & POLLOUT) != 0) flags |= CLAP_POSIX_FD_WRITE;
        if ((ready.revents & (POLLERR | POLLHUP)) != 0) flags |= CLAP_POSIX_FD_ERROR;
        fdSupport->on_fd(plugin, entry.fd, flags);
    }
#endif
}

// The CLI's idle tick stands in for the timers the plug-in registered; edits
// it made wait for a flush while nothing processes.
void ClapEffect::idleEditor() {
    if (timerSupport != nullptr)
        for (clap_id timer : std::vector<clap_id>(timers.registered())) timerSupport->on_timer(plugin, timer);
    reportReadyFds();
    if (flushRequested && !active) flushWhileStopped();
}
