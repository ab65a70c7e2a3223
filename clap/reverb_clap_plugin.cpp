#include "clap/reverb_clap_plugin.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "clap/clap_parameter_map.h"
#include "clap/plugin_extensions.h"
#include "clap/state_stream.h"

#ifndef ROOMPLATE_VERSION
#define ROOMPLATE_VERSION "0.0.0"
#endif

namespace {

const char* const kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_REVERB,
                                 CLAP_PLUGIN_FEATURE_STEREO, nullptr};

const void* hostExtension(const clap_host_t* host, const char* id) {
    return host != nullptr && host->get_extension != nullptr ? host->get_extension(host, id) : nullptr;
}

}  // namespace

// The id is how hosts find the plug-in in their sessions: chosen once, never changed.
const clap_plugin_descriptor_t ReverbClapPlugin::kDescriptor = {
    CLAP_VERSION_INIT,
    "org.roomplate.reverb",
    "Roomplate",
    "Roomplate",
    "",
    "",
    "",
    ROOMPLATE_VERSION,
    "Algorithmic reverb: room reflections, plate diffusion and tank, comb bank, state-variable filter",
    kFeatures};

ReverbClapPlugin::ReverbClapPlugin(const clap_host_t* host) : host(host), editor(host, *this) {
    plugin.desc = &kDescriptor;
    plugin.plugin_data = this;
    plugin.init = [](const clap_plugin_t* self) { return of(self).init(); };
    plugin.destroy = [](const clap_plugin_t* self) { delete &of(self); };
    plugin.activate = [](const clap_plugin_t* self, double rate, std::uint32_t, std::uint32_t) {
        return of(self).activate(rate);
    };
    plugin.deactivate = [](const clap_plugin_t* self) { of(self).deactivate(); };
    plugin.start_processing = [](const clap_plugin_t*) { return true; };
    plugin.stop_processing = [](const clap_plugin_t*) {};
    plugin.reset = [](const clap_plugin_t* self) { of(self).reset(); };
    plugin.process = [](const clap_plugin_t* self, const clap_process_t* process) { return of(self).process(process); };
    plugin.get_extension = [](const clap_plugin_t* self, const char* id) { return of(self).extension(id); };
    plugin.on_main_thread = [](const clap_plugin_t*) {};
}

ReverbClapPlugin& ReverbClapPlugin::of(const clap_plugin_t* plugin) {
    return *static_cast<ReverbClapPlugin*>(plugin->plugin_data);
}

bool ReverbClapPlugin::init() {
    hostParams = static_cast<const clap_host_params_t*>(hostExtension(host, CLAP_EXT_PARAMS));
    threadCheck = static_cast<const clap_host_thread_check_t*>(hostExtension(host, CLAP_EXT_THREAD_CHECK));
    return true;
}

bool ReverbClapPlugin::onMainThread() const {
    return threadCheck == nullptr || threadCheck->is_main_thread == nullptr || threadCheck->is_main_thread(host);
}

bool ReverbClapPlugin::onAudioThread() const {
    return threadCheck == nullptr || threadCheck->is_audio_thread == nullptr || threadCheck->is_audio_thread(host);
}

const void* ReverbClapPlugin::extension(const char* id) const { return id != nullptr ? pluginExtension(id) : nullptr; }

bool ReverbClapPlugin::activate(double sampleRate) {
    if (active || !onMainThread() || !ReverbProcessor::supportsRate(sampleRate)) return false;
    processor.activate(static_cast<float>(sampleRate));
    streamAtOddFrame = false;
    active = true;
    return true;
}

void ReverbClapPlugin::deactivate() {
    if (onMainThread()) active = false;
}

void ReverbClapPlugin::reset() {
    processor.reset();
    streamAtOddFrame = false;
}

clap_process_status ReverbClapPlugin::process(const clap_process_t* process) {
    if (process == nullptr || !active || !onAudioThread()) return CLAP_PROCESS_ERROR;
    const clap_input_events_t* in = process->in_events;
    const std::uint32_t eventCount = in != nullptr ? in->size(in) : 0;
    std::uint32_t done = 0;
    std::uint32_t nextEvent = 0;
    while (nextEvent < eventCount) {
        const clap_event_header_t* header = in->get(in, nextEvent);
        const std::uint32_t at = pairStartAtOrAfter(header != nullptr ? header->time : 0);
        if (at >= process->frames_count) break;  // from here on, every event lands after the block's frames
        processFrames(process, done, at);
        done = std::max(done, at);
        // Every event up to this pair's start applies together.
        std::uint32_t last = nextEvent + 1;
        while (last < eventCount) {
            const clap_event_header_t* next = in->get(in, last);
            if (next != nullptr && pairStartAtOrAfter(next->time) > done) break;
            ++last;
        }
        applyEvents(in, nextEvent, last);
        nextEvent = last;
    }
    processFrames(process, done, process->frames_count);
    applyEvents(in, nextEvent, eventCount);
    editorEvents.drainInto(process->out_events);
    return CLAP_PROCESS_CONTINUE;
}

std::uint32_t ReverbClapPlugin::pairStartAtOrAfter(std::uint32_t frame) const {
    const bool pairStart = ((frame & 1u) != 0) == streamAtOddFrame;
    return pairStart ? frame : frame + 1;
}

void ReverbClapPlugin::processFrames(const clap_process_t* process, std::uint32_t from, std::uint32_t to) {
    if (to <= from) return;
    const auto count = static_cast<std::int32_t>(to - from);
    float* const* inputs = process->audio_inputs_count > 0 && process->audio_inputs[0].channel_count >= 2
                               ? process->audio_inputs[0].data32
                               : nullptr;
    float* const* outputs = process->audio_outputs_count > 0 && process->audio_outputs[0].channel_count >= 2
                                ? process->audio_outputs[0].data32
                                : nullptr;
    if (outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) return;
    if (inputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr) {
        // No input port connected: the reverb hears silence.
        std::memset(outputs[0] + from, 0, sizeof(float) * static_cast<std::size_t>(count));
        std::memset(outputs[1] + from, 0, sizeof(float) * static_cast<std::size_t>(count));
        processor.process(outputs[0] + from, outputs[1] + from, outputs[0] + from, outputs[1] + from, count);
    } else {
        processor.process(inputs[0] + from, inputs[1] + from, outputs[0] + from, outputs[1] + from, count);
    }
    if ((count & 1) != 0) streamAtOddFrame = !streamAtOddFrame;
}

void ReverbClapPlugin::applyEvents(const clap_input_events_t* in, std::uint32_t fromIndex, std::uint32_t toIndex) {
    for (std::uint32_t index = fromIndex; index < toIndex; ++index) {
        const clap_event_header_t* header = in->get(in, index);
        if (header == nullptr || header->space_id != CLAP_CORE_EVENT_SPACE_ID ||
            header->type != CLAP_EVENT_PARAM_VALUE || header->size < sizeof(clap_event_param_value_t))
            continue;
        const auto* event = reinterpret_cast<const clap_event_param_value_t*>(header);
        applyParameter(event->param_id, event->value);
    }
}

void ReverbClapPlugin::applyParameter(clap_id id, double hostValue) {
    float value = 0.0f;
    if (!clampedValue(id, hostValue, value)) return;
    if (id == kBypassParamId) {
        processor.setBypass(value == 1.0f);
        return;
    }
    processor.setParameter(static_cast<std::int32_t>(id), value);
    editor.parameterChanged(static_cast<std::int32_t>(id), value);
}

bool ReverbClapPlugin::parameterValue(clap_id id, double& value) const {
    if (id == kBypassParamId) {
        value = processor.isBypassed() ? 1.0 : 0.0;
        return true;
    }
    if (soundParameterOf(id) == nullptr) return false;
    value = processor.parameter(static_cast<std::int32_t>(id));
    return true;
}

void ReverbClapPlugin::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
    if (in != nullptr) applyEvents(in, 0, in->size(in));
    editorEvents.drainInto(out);
}

bool ReverbClapPlugin::saveState(const clap_ostream_t* stream) const {
    if (!onMainThread()) return false;
    return writeWholeState(stream, processor.saveSession());
}

bool ReverbClapPlugin::loadState(const clap_istream_t* stream) {
    if (!onMainThread()) return false;
    std::vector<std::uint8_t> bytes;
    if (!readWholeState(stream, bytes)) return false;
    if (!processor.loadSession(bytes.data(), bytes.size())) return false;
    editor.restoreScale(processor.editorScale());
    announceAllValues();
    return true;
}

bool ReverbClapPlugin::setEditorScale(double factor) {
    if (!editor.setScale(factor)) return false;
    processor.setEditorScale(static_cast<float>(editor.scale()));
    return true;
}

bool ReverbClapPlugin::setEditorSize(std::uint32_t width, std::uint32_t height) {
    if (!editor.setSize(width, height)) return false;
    processor.setEditorScale(static_cast<float>(editor.scale()));
    return true;
}

bool ReverbClapPlugin::loadProgram(const char* name) {
    if (!onMainThread() || name == nullptr) return false;
    for (std::int32_t program = 0; program < kProgramCount; ++program)
        if (std::strcmp(name, processor.programBank().nameOf(program)) == 0) {
            processor.selectProgram(program);
            announceAllValues();
            return true;
        }
    return false;
}

void ReverbClapPlugin::announceAllValues() {
    for (std::int32_t index = 0; index < kParameterCount; ++index)
        editor.parameterChanged(index, processor.parameter(index));
    if (hostParams != nullptr && hostParams->rescan != nullptr) hostParams->rescan(host, CLAP_PARAM_RESCAN_VALUES);
}

void ReverbClapPlugin::askHostToFlush() const {
    if (hostParams != nullptr && hostParams->request_flush != nullptr) hostParams->request_flush(host);
}

// The editor's edits take effect at once and reach the host at its next
// process or flush, in the order the user made them.
void ReverbClapPlugin::beginGesture(ParameterId id) {
    if (soundParameterOf(static_cast<clap_id>(id)) == nullptr) return;
    editorEvents.push({EditorEvent::Kind::kGestureBegin, static_cast<clap_id>(id), 0.0});
    askHostToFlush();
}

void ReverbClapPlugin::setFromEditor(ParameterId id, float value) {
    processor.setParameter(id, value);
    editor.parameterChanged(id, value);
    if (soundParameterOf(static_cast<clap_id>(id)) == nullptr) return;  // "About" stays the editor's own
    editorEvents.push({EditorEvent::Kind::kValue, static_cast<clap_id>(id), value});
    askHostToFlush();
}

void ReverbClapPlugin::endGesture(ParameterId id) {
    if (soundParameterOf(static_cast<clap_id>(id)) == nullptr) return;
    editorEvents.push({EditorEvent::Kind::kGestureEnd, static_cast<clap_id>(id), 0.0});
    askHostToFlush();
}
