#include "tests/fuzz/clap_fuzz_instance.h"

#include <algorithm>
#include <cstring>
#include <limits>

extern "C" const clap_plugin_entry_t clap_entry;

namespace {

struct InputList {
    const std::vector<ClapEventSlot>* events;
    clap_input_events_t record{this, size, get};

    static std::uint32_t size(const clap_input_events_t* list) {
        return static_cast<std::uint32_t>(static_cast<const InputList*>(list->ctx)->events->size());
    }
    static const clap_event_header_t* get(const clap_input_events_t* list, std::uint32_t index) {
        const auto& events = *static_cast<const InputList*>(list->ctx)->events;
        return index < events.size() ? &events[index].header : nullptr;
    }
};

struct OutputList {
    bool accepts;
    std::size_t* pushed;
    clap_output_events_t record{this, tryPush};

    static bool tryPush(const clap_output_events_t* list, const clap_event_header_t* event) {
        auto* self = static_cast<OutputList*>(list->ctx);
        if (!self->accepts || event == nullptr) return false;
        ++*self->pushed;
        return true;
    }
};

struct WriteStream {
    std::vector<std::uint8_t> bytes;
    clap_ostream_t record{this, write};

    static std::int64_t write(const clap_ostream_t* stream, const void* buffer, std::uint64_t size) {
        auto& bytes = static_cast<WriteStream*>(stream->ctx)->bytes;
        const auto* from = static_cast<const std::uint8_t*>(buffer);
        bytes.insert(bytes.end(), from, from + size);
        return static_cast<std::int64_t>(size);
    }
};

struct ReadStream {
    const std::vector<std::uint8_t>* bytes;
    std::size_t maxChunk;
    bool failAtEnd;
    std::size_t position = 0;
    clap_istream_t record{this, read};

    static std::int64_t read(const clap_istream_t* stream, void* buffer, std::uint64_t size) {
        auto* self = static_cast<ReadStream*>(stream->ctx);
        const std::size_t left = self->bytes->size() - self->position;
        if (left == 0) return self->failAtEnd ? -1 : 0;
        const std::size_t count = std::min<std::size_t>({left, self->maxChunk, static_cast<std::size_t>(size)});
        std::memcpy(buffer, self->bytes->data() + self->position, count);
        self->position += count;
        return static_cast<std::int64_t>(count);
    }
};

}  // namespace

ClapFuzzInstance::ClapFuzzInstance() {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "roomplate fuzzer";
    host.vendor = host.url = host.version = "";
    host.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
    host.request_restart = host.request_process = host.request_callback = [](const clap_host_t*) {};

    static const bool entered = clap_entry.init("");
    if (!entered) return;
    const auto* factory = static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
    if (plugin == nullptr || !plugin->init(plugin)) return;
    state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    plugin->activate(plugin, kSampleRate, 1, kMaxBlockFrames);
    plugin->start_processing(plugin);
}

ClapFuzzInstance::~ClapFuzzInstance() {
    if (plugin == nullptr) return;
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
}

clap_process_status ClapFuzzInstance::process(const NoiseBlock& input, NoiseBlock& output,
                                              const std::vector<ClapEventSlot>& events, bool outputAccepts) {
    const std::int32_t frames = input.frames();
    output.left.assign(frames, std::numeric_limits<float>::quiet_NaN());
    output.right.assign(frames, std::numeric_limits<float>::quiet_NaN());
    float* in[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* out[2] = {output.left.data(), output.right.data()};
    clap_audio_buffer_t inBuffer{in, nullptr, 2, 0, 0};
    clap_audio_buffer_t outBuffer{out, nullptr, 2, 0, 0};
    InputList inEvents{&events};
    OutputList outEvents{outputAccepts, &eventsSentToHost};
    clap_process_t call{};
    call.steady_time = -1;
    call.frames_count = static_cast<std::uint32_t>(frames);
    call.audio_inputs = &inBuffer;
    call.audio_outputs = &outBuffer;
    call.audio_inputs_count = call.audio_outputs_count = 1;
    call.in_events = &inEvents.record;
    call.out_events = &outEvents.record;
    return plugin->process(plugin, &call);
}

void ClapFuzzInstance::flush(const std::vector<ClapEventSlot>& events) {
    InputList inEvents{&events};
    OutputList outEvents{true, &eventsSentToHost};
    params->flush(plugin, &inEvents.record, &outEvents.record);
}

void ClapFuzzInstance::clearSignal() {
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    plugin->activate(plugin, kSampleRate, 1, kMaxBlockFrames);
    plugin->start_processing(plugin);
}

std::vector<std::uint8_t> ClapFuzzInstance::saveState() const {
    WriteStream stream;
    if (!state->save(plugin, &stream.record)) return {};
    return stream.bytes;
}

bool ClapFuzzInstance::loadState(const std::vector<std::uint8_t>& bytes, std::size_t maxChunk, bool failAtEnd) {
    ReadStream stream{&bytes, maxChunk, failAtEnd};
    return state->load(plugin, &stream.record);
}
