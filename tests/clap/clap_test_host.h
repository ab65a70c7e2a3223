// What the CLAP tests host with: the built roomplate.clap opened with dlopen
// (its clap_entry is all they use), a minimal host that can offer
// timer-support and posix-fd-support, and instances with helpers to process stereo buffers with
// parameter events and to move the state through memory streams.
#pragma once

#include <clap/clap.h>

#include <cstdint>
#include <string>
#include <vector>

// The library, loaded once for the test program and initialised through its entry.
const clap_plugin_entry_t& roomplateEntry();

class TestHost {
public:
    explicit TestHost(bool offerTimers = false, bool offerFds = false);
    const clap_host_t* record() const { return &host; }
    std::vector<clap_id> timers;  // registered and not yet unregistered
    std::vector<int> fds;         // likewise
    int flushRequests = 0;
    int rescans = 0;

private:
    clap_host_t host{};
    bool offerTimers;
    bool offerFds;
};

struct ParamEvent {
    std::uint32_t time;
    clap_id id;
    double value;
};

struct StereoBuffer {
    std::vector<float> left, right;
    explicit StereoBuffer(std::size_t frames = 0) : left(frames), right(frames) {}
    std::size_t frames() const { return left.size(); }
};

// White noise from a fixed seed, at -6 dBFS.
StereoBuffer noise(std::size_t frames, std::uint32_t seed = 1);
StereoBuffer impulse(std::size_t frames);

class TestInstance {
public:
    explicit TestInstance(TestHost& host);
    ~TestInstance();
    TestInstance(const TestInstance&) = delete;
    TestInstance& operator=(const TestInstance&) = delete;

    const clap_plugin_t* plugin() const { return instance; }
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(instance->get_extension(instance, id));
    }

    bool activate(double sampleRate, std::uint32_t maxFrames = 4096);
    void deactivate();
    // Processes input[from, from + frames) into output (which is resized to
    // input's length), the events relative to the call.
    clap_process_status process(const StereoBuffer& input, StereoBuffer& output, std::size_t from, std::uint32_t frames,
                                const std::vector<ParamEvent>& events = {});
    // All of input in calls of the given sizes (repeated), the events at absolute frames.
    StereoBuffer processInBlocks(const StereoBuffer& input, const std::vector<std::uint32_t>& blockSizes,
                                 const std::vector<ParamEvent>& events = {});
    // The events the plug-in sent the host in the last process or flush.
    std::vector<clap_event_header_t> lastOutput;

    double value(clap_id id) const;
    void flush(const std::vector<ParamEvent>& events);
    std::vector<std::uint8_t> saveState() const;
    bool loadState(const std::vector<std::uint8_t>& bytes, std::size_t maxChunk = 1 << 30);

private:
    const clap_plugin_t* instance = nullptr;
    bool active = false;
};

bool allFinite(const StereoBuffer& buffer);
bool sameSamples(const StereoBuffer& a, const StereoBuffer& b);

// The parameter ids in the host's list order.
std::vector<clap_id> parameterIds(const TestInstance& instance);
