// One CLAP instance for the fuzz harnesses, made through the plug-in's own
// clap_entry (linked in) for a host that offers no extensions: activated at
// 44.1 kHz for blocks of 1 … kMaxBlockFrames and processing from
// construction. Failures are answers, never aborts.
//
// Threads: the caller's, as main and audio thread in turn (the host offers
// no thread-check, so the plug-in takes every call as on the right thread).
#pragma once

#include <clap/clap.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/noise_block.h"

// Any event a host may send, in storage large enough for each kind.
union ClapEventSlot {
    clap_event_header_t header;
    clap_event_param_value_t value;
    clap_event_param_mod_t modulation;
    clap_event_param_gesture_t gesture;
    clap_event_note_t note;
    clap_event_transport_t transport;
};

class ClapFuzzInstance {
public:
    static constexpr std::uint32_t kMaxBlockFrames = 4096;
    static constexpr double kSampleRate = 44100.0;

    ClapFuzzInstance();
    ~ClapFuzzInstance();
    ClapFuzzInstance(const ClapFuzzInstance&) = delete;
    ClapFuzzInstance& operator=(const ClapFuzzInstance&) = delete;

    bool made() const { return plugin != nullptr && state != nullptr && params != nullptr; }
    // input's frames into output (resized to them, set to NaN first, so a frame left unwritten shows).
    clap_process_status process(const NoiseBlock& input, NoiseBlock& output, const std::vector<ClapEventSlot>& events,
                                bool outputAccepts);
    // The events in params.flush, as a host does while the plug-in is inactive or not processing.
    void flush(const std::vector<ClapEventSlot>& events);
    // Deactivated and activated again: the next block starts from silence and a settled bypass.
    void clearSignal();

    std::vector<std::uint8_t> saveState() const;
    // maxChunk: the bytes one read gives at most; failAtEnd: the stream ends in an error, not 0.
    bool loadState(const std::vector<std::uint8_t>& bytes, std::size_t maxChunk, bool failAtEnd);

    std::size_t eventsSentToHost = 0;

private:
    clap_host_t host{};
    const clap_plugin_t* plugin = nullptr;
    const clap_plugin_state_t* state = nullptr;
    const clap_plugin_params_t* params = nullptr;
};
