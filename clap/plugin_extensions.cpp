#include "clap/plugin_extensions.h"

#include <cstdio>
#include <cstring>

#include "clap/clap_parameter_map.h"
#include "clap/reverb_clap_plugin.h"
#include "reverb/value_converters.h"

namespace {

template <std::size_t size>
void copyText(char (&target)[size], const char* text) {
    std::snprintf(target, size, "%s", text);
}

// One stereo port each way; the output may be the input's buffers.
const clap_plugin_audio_ports_t kAudioPorts = {
    [](const clap_plugin_t*, bool) -> std::uint32_t { return 1; },
    [](const clap_plugin_t*, std::uint32_t index, bool isInput, clap_audio_port_info_t* info) {
        if (index != 0 || info == nullptr) return false;
        info->id = isInput ? 0 : 1;
        copyText(info->name, isInput ? "Input" : "Output");
        info->flags = CLAP_AUDIO_PORT_IS_MAIN;
        info->channel_count = 2;
        info->port_type = CLAP_PORT_STEREO;
        info->in_place_pair = isInput ? 1 : 0;
        return true;
    }};

bool parameterInfo(std::uint32_t position, clap_param_info_t* info) {
    clap_id id = 0;
    if (info == nullptr || !hostParameterIdAt(position, id)) return false;
    *info = {};
    info->id = id;
    info->cookie = nullptr;
    info->min_value = 0.0;
    info->max_value = 1.0;
    info->flags = CLAP_PARAM_IS_AUTOMATABLE;
    if (id == kBypassParamId) {
        info->flags |= CLAP_PARAM_IS_BYPASS | CLAP_PARAM_IS_STEPPED;
        copyText(info->name, "Bypass");
        copyText(info->module, "");
        info->default_value = 0.0;
        return true;
    }
    const ParameterInfo& row = *soundParameterOf(id);
    if (row.kind == ParameterKind::kStageSwitch) info->flags |= CLAP_PARAM_IS_STEPPED;
    copyText(info->name, row.name);
    copyText(info->module, moduleOf(id));
    info->default_value = row.initValue;
    return true;
}

bool valueToText(clap_id id, double value, char* text, std::uint32_t capacity) {
    float limited = 0.0f;
    if (text == nullptr || capacity == 0 || !clampedValue(id, value, limited)) return false;
    const ParameterInfo* row = soundParameterOf(id);
    char display[kConverterTextSize] = {};
    if (id == kBypassParamId || row->kind == ParameterKind::kStageSwitch)
        copyText(display, limited == 1.0f ? "on" : "off");
    else
        valueText(row->converter, limited, display);
    std::snprintf(text, capacity, "%s", display);
    return true;
}

bool textToValue(clap_id id, const char* text, double* value) {
    if (text == nullptr || value == nullptr || !isKnownHostParameter(id)) return false;
    const ParameterInfo* row = soundParameterOf(id);
    if (id == kBypassParamId || row->kind == ParameterKind::kStageSwitch) {
        if (std::strcmp(text, "on") == 0 || std::strcmp(text, "1") == 0)
            *value = 1.0;
        else if (std::strcmp(text, "off") == 0 || std::strcmp(text, "0") == 0)
            *value = 0.0;
        else
            return false;
        return true;
    }
    float parsed = 0.0f;
    if (!parseValueText(row->converter, text, parsed)) return false;
    *value = parsed;
    return true;
}

const clap_plugin_params_t kParams = {
    [](const clap_plugin_t*) { return hostParameterCount(); },
    [](const clap_plugin_t*, std::uint32_t position, clap_param_info_t* info) { return parameterInfo(position, info); },
    [](const clap_plugin_t* plugin, clap_id id, double* value) {
        return value != nullptr && ReverbClapPlugin::of(plugin).parameterValue(id, *value);
    },
    [](const clap_plugin_t*, clap_id id, double value, char* text, std::uint32_t capacity) {
        return valueToText(id, value, text, capacity);
    },
    [](const clap_plugin_t*, clap_id id, const char* text, double* value) { return textToValue(id, text, value); },
    [](const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out) {
        ReverbClapPlugin::of(plugin).flush(in, out);
    }};

const clap_plugin_state_t kState = {[](const clap_plugin_t* plugin, const clap_ostream_t* stream) {
                                        return ReverbClapPlugin::of(plugin).saveState(stream);
                                    },
                                    [](const clap_plugin_t* plugin, const clap_istream_t* stream) {
                                        return ReverbClapPlugin::of(plugin).loadState(stream);
                                    }};

const clap_plugin_latency_t kLatency = {[](const clap_plugin_t*) -> std::uint32_t { return 0; }};

// The engine's bound; its "no end" is CLAP's infinite tail (UINT32_MAX) too.
const clap_plugin_tail_t kTail = {
    [](const clap_plugin_t* plugin) { return ReverbClapPlugin::of(plugin).tailSamples(); }};

// Nothing in the engine depends on the deadline: realtime and offline are the same sound.
const clap_plugin_render_t kRender = {[](const clap_plugin_t*) { return false; },
                                      [](const clap_plugin_t*, clap_plugin_render_mode) { return true; }};

ClapEditorHost& editorOf(const clap_plugin_t* plugin) { return ReverbClapPlugin::of(plugin).editorHost(); }

const clap_plugin_gui_t kGui = {
    [](const clap_plugin_t*, const char* api, bool isFloating) {
        return ClapEditorHost::isApiSupported(api, isFloating);
    },
    [](const clap_plugin_t*, const char** api, bool* isFloating) {
        if (api == nullptr || isFloating == nullptr) return false;
        *api = ClapEditorHost::nativeApi();
        *isFloating = false;
        return true;
    },
    [](const clap_plugin_t* plugin, const char* api, bool isFloating) {
        return editorOf(plugin).create(api, isFloating);
    },
    [](const clap_plugin_t* plugin) { editorOf(plugin).destroy(); },
    [](const clap_plugin_t* plugin, double scale) { return ReverbClapPlugin::of(plugin).setEditorScale(scale); },
    [](const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height) {
        return width != nullptr && height != nullptr && editorOf(plugin).size(*width, *height);
    },
    [](const clap_plugin_t*) { return true; },  // to the three square sizes it draws
    [](const clap_plugin_t*, clap_gui_resize_hints_t* hints) {
        if (hints == nullptr) return false;
        *hints = {true, true, true, 1, 1};
        return true;
    },
    [](const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height) {
        return width != nullptr && height != nullptr && editorOf(plugin).adjustSize(*width, *height);
    },
    [](const clap_plugin_t* plugin, std::uint32_t width, std::uint32_t height) {
        return ReverbClapPlugin::of(plugin).setEditorSize(width, height);
    },
    [](const clap_plugin_t* plugin, const clap_window_t* window) { return editorOf(plugin).setParent(window); },
    [](const clap_plugin_t*, const clap_window_t*) { return false; },  // embedded only
    [](const clap_plugin_t*, const char*) {},
    [](const clap_plugin_t* plugin) { return editorOf(plugin).isCreated(); },
    [](const clap_plugin_t* plugin) { return editorOf(plugin).isCreated(); }};

const clap_plugin_timer_support_t kTimerSupport = {
    [](const clap_plugin_t* plugin, clap_id timerId) { editorOf(plugin).onTimer(timerId); }};

#if !defined(_WIN32)
const clap_plugin_posix_fd_support_t kPosixFdSupport = {
    [](const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags) { editorOf(plugin).onFd(fd, flags); }};
#endif

// The factory programs, listed by the preset-discovery factory under their names.
const clap_plugin_preset_load_t kPresetLoad = {
    [](const clap_plugin_t* plugin, std::uint32_t locationKind, const char* location, const char* loadKey) {
        if (locationKind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr) return false;
        return ReverbClapPlugin::of(plugin).loadProgram(loadKey);
    }};

struct Extension {
    const char* id;
    const void* table;
};

const Extension kExtensions[] = {
    {CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
    {CLAP_EXT_PARAMS, &kParams},
    {CLAP_EXT_STATE, &kState},
    {CLAP_EXT_LATENCY, &kLatency},
    {CLAP_EXT_TAIL, &kTail},
    {CLAP_EXT_RENDER, &kRender},
    {CLAP_EXT_GUI, &kGui},
    {CLAP_EXT_TIMER_SUPPORT, &kTimerSupport},
#if !defined(_WIN32)
    {CLAP_EXT_POSIX_FD_SUPPORT, &kPosixFdSupport},
#endif
    {CLAP_EXT_PRESET_LOAD, &kPresetLoad},
    {CLAP_EXT_PRESET_LOAD_COMPAT, &kPresetLoad},
};

}  // namespace

const void* pluginExtension(const char* id) {
    for (const Extension& extension : kExtensions)
        if (std::strcmp(id, extension.id) == 0) return extension.table;
    return nullptr;
}
