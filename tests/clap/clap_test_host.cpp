#include "tests/clap/clap_test_host.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace {

struct EventList {
    std::vector<clap_event_param_value_t> events;
};

std::uint32_t eventCount(const clap_input_events_t* list) {
    return static_cast<std::uint32_t>(static_cast<const EventList*>(list->ctx)->events.size());
}

const clap_event_header_t* eventAt(const clap_input_events_t* list, std::uint32_t index) {
    return &static_cast<const EventList*>(list->ctx)->events.at(index).header;
}

bool collect(const clap_output_events_t* list, const clap_event_header_t* event) {
    static_cast<std::vector<clap_event_header_t>*>(list->ctx)->push_back(*event);
    return true;
}

EventList toEventList(const std::vector<ParamEvent>& events) {
    EventList list;
    for (const ParamEvent& event : events) {
        clap_event_param_value_t value{};
        value.header = {sizeof(value), event.time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        value.param_id = event.id;
        value.note_id = -1;
        value.port_index = -1;
        value.channel = -1;
        value.key = -1;
        value.value = event.value;
        list.events.push_back(value);
    }
    return list;
}

TestHost& hostOf(const clap_host_t* host) { return *static_cast<TestHost*>(host->host_data); }

struct ReadStream {
    const std::vector<std::uint8_t>* bytes;
    std::size_t position = 0;
    std::size_t maxChunk;
};

}  // namespace

const clap_plugin_entry_t& roomplateEntry() {
    static const clap_plugin_entry_t* entry = [] {
        void* library = dlopen(ROOMPLATE_CLAP_PATH, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) throw std::runtime_error(std::string("cannot load ") + ROOMPLATE_CLAP_PATH);
        auto* found = static_cast<const clap_plugin_entry_t*>(dlsym(library, "clap_entry"));
        if (found == nullptr || !found->init(ROOMPLATE_CLAP_PATH)) throw std::runtime_error("no usable clap_entry");
        return found;
    }();
    return *entry;
}

TestHost::TestHost(bool offerTimers, bool offerFds) : offerTimers(offerTimers), offerFds(offerFds) {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "roomplate tests";
    host.vendor = "";
    host.url = "";
    host.version = "1";
    host.request_restart = [](const clap_host_t*) {};
    host.request_process = [](const clap_host_t*) {};
    host.request_callback = [](const clap_host_t*) {};
    host.get_extension = [](const clap_host_t* self, const char* id) -> const void* {
        static const clap_host_timer_support_t timerSupport = {
            [](const clap_host_t* host, std::uint32_t, clap_id* timer) {
                auto& timers = hostOf(host).timers;
                *timer = static_cast<clap_id>(100 + timers.size());
                timers.push_back(*timer);
                return true;
            },
            [](const clap_host_t* host, clap_id timer) {
                auto& timers = hostOf(host).timers;
                const auto found = std::find(timers.begin(), timers.end(), timer);
                if (found == timers.end()) return false;
                timers.erase(found);
                return true;
            }};
        static const clap_host_posix_fd_support_t fdSupport = {
            [](const clap_host_t* host, int fd, clap_posix_fd_flags_t) {
                hostOf(host).fds.push_back(fd);
                return true;
            },
            [](const clap_host_t*, int, clap_posix_fd_flags_t) { return true; },
            [](const clap_host_t* host, int fd) {
                auto& fds = hostOf(host).fds;
                const auto found = std::find(fds.begin(), fds.end(), fd);
                if (found == fds.end()) return false;
                fds.erase(found);
                return true;
            }};
        static const clap_host_params_t params = {
            [](const clap_host_t* host, clap_param_rescan_flags) { ++hostOf(host).rescans; },
            [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
            [](const clap_host_t* host) { ++hostOf(host).flushRequests; }};
        if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return hostOf(self).offerTimers ? &timerSupport : nullptr;
        if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0) return hostOf(self).offerFds ? &fdSupport : nullptr;
        if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &params;
        return nullptr;
    };
}

StereoBuffer noise(std::size_t frames, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(generator);
        buffer.right[i] = sample(generator);
    }
    return buffer;
}

StereoBuffer impulse(std::size_t frames) {
    StereoBuffer buffer(frames);
    buffer.left[0] = buffer.right[0] = 1.0f;
    return buffer;
}

TestInstance::TestInstance(TestHost& host) {
    const auto* factory =
        static_cast<const clap_plugin_factory_t*>(roomplateEntry().get_factory(CLAP_PLUGIN_FACTORY_ID));
    instance = factory->create_plugin(factory, host.record(), factory->get_plugin_descriptor(factory, 0)->id);
    if (instance == nullptr || !instance->init(instance)) throw std::runtime_error("the plug-in did not start");
}

TestInstance::~TestInstance() {
    deactivate();
    instance->destroy(instance);
}

bool TestInstance::activate(double sampleRate, std::uint32_t maxFrames) {
    active = instance->activate(instance, sampleRate, 1, maxFrames) && instance->start_processing(instance);
    return active;
}

void TestInstance::deactivate() {
    if (!active) return;
    instance->stop_processing(instance);
    instance->deactivate(instance);
    active = false;
}

clap_process_status TestInstance::process(const StereoBuffer& input, StereoBuffer& output, std::size_t from,
                                          std::uint32_t frames, const std::vector<ParamEvent>& events) {
    output.left.resize(input.frames());
    output.right.resize(input.frames());
    float* inputs[2] = {const_cast<float*>(input.left.data()) + from, const_cast<float*>(input.right.data()) + from};
    float* outputs[2] = {output.left.data() + from, output.right.data() + from};
    clap_audio_buffer_t in{inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t out{outputs, nullptr, 2, 0, 0};
    EventList list = toEventList(events);
    clap_input_events_t inEvents{&list, eventCount, eventAt};
    lastOutput.clear();
    clap_output_events_t outEvents{&lastOutput, collect};
    clap_process_t call{};
    call.steady_time = -1;
    call.frames_count = frames;
    call.audio_inputs = &in;
    call.audio_outputs = &out;
    call.audio_inputs_count = 1;
    call.audio_outputs_count = 1;
    call.in_events = &inEvents;
    call.out_events = &outEvents;
    return instance->process(instance, &call);
}

StereoBuffer TestInstance::processInBlocks(const StereoBuffer& input, const std::vector<std::uint32_t>& blockSizes,
                                           const std::vector<ParamEvent>& events) {
    StereoBuffer output(input.frames());
    std::size_t done = 0;
    for (std::size_t block = 0; done < input.frames(); ++block) {
        const auto frames = static_cast<std::uint32_t>(
            std::min<std::size_t>(blockSizes[block % blockSizes.size()], input.frames() - done));
        std::vector<ParamEvent> inBlock;
        for (const ParamEvent& event : events)
            if (event.time >= done && event.time < done + frames)
                inBlock.push_back({static_cast<std::uint32_t>(event.time - done), event.id, event.value});
        process(input, output, done, frames, inBlock);
        done += frames;
    }
    return output;
}

double TestInstance::value(clap_id id) const {
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    double value = -1.0;
    if (!params->get_value(instance, id, &value)) throw std::runtime_error("no value for the parameter");
    return value;
}

void TestInstance::flush(const std::vector<ParamEvent>& events) {
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    EventList list = toEventList(events);
    clap_input_events_t inEvents{&list, eventCount, eventAt};
    lastOutput.clear();
    clap_output_events_t outEvents{&lastOutput, collect};
    params->flush(instance, &inEvents, &outEvents);
}

std::vector<std::uint8_t> TestInstance::saveState() const {
    std::vector<std::uint8_t> bytes;
    // A stream that takes at most 7 bytes a call: the plug-in must loop.
    clap_ostream_t stream{&bytes, [](const clap_ostream_t* self, const void* data, std::uint64_t size) -> std::int64_t {
                              const auto count = std::min<std::uint64_t>(size, 7);
                              auto* target = static_cast<std::vector<std::uint8_t>*>(self->ctx);
                              const auto* first = static_cast<const std::uint8_t*>(data);
                              target->insert(target->end(), first, first + count);
                              return static_cast<std::int64_t>(count);
                          }};
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    if (!state->save(instance, &stream)) throw std::runtime_error("save refused");
    return bytes;
}

bool TestInstance::loadState(const std::vector<std::uint8_t>& bytes, std::size_t maxChunk) {
    ReadStream source{&bytes, 0, maxChunk};
    clap_istream_t stream{&source, [](const clap_istream_t* self, void* data, std::uint64_t size) -> std::int64_t {
                              auto* from = static_cast<ReadStream*>(self->ctx);
                              const std::size_t count = std::min({static_cast<std::size_t>(size), from->maxChunk,
                                                                  from->bytes->size() - from->position});
                              if (count > 0) std::memcpy(data, from->bytes->data() + from->position, count);
                              from->position += count;
                              return static_cast<std::int64_t>(count);
                          }};
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    return state->load(instance, &stream);
}

bool allFinite(const StereoBuffer& buffer) {
    for (std::size_t i = 0; i < buffer.frames(); ++i)
        if (!std::isfinite(buffer.left[i]) || !std::isfinite(buffer.right[i])) return false;
    return true;
}

bool sameSamples(const StereoBuffer& a, const StereoBuffer& b) {
    return a.frames() == b.frames() && std::memcmp(a.left.data(), b.left.data(), a.frames() * sizeof(float)) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), a.frames() * sizeof(float)) == 0;
}

std::vector<clap_id> parameterIds(const TestInstance& instance) {
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    std::vector<clap_id> ids;
    for (std::uint32_t i = 0; i < params->count(instance.plugin()); ++i) {
        clap_param_info_t info{};
        params->get_info(instance.plugin(), i, &info);
        ids.push_back(info.id);
    }
    return ids;
}
