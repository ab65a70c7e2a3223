// The editor's edits on their way to the host: the window thread pushes
// gestures and values, and whoever talks to the host next (process on the
// audio thread, or params.flush) pops them into its output events. One
// producer, one consumer, a fixed ring: neither side allocates, locks or
// waits. A full ring drops the newest edit; its value is already in the
// plug-in, only the host's automation misses it.
#pragma once

#include <clap/clap.h>

#include <array>
#include <atomic>
#include <cstdint>

struct EditorEvent {
    enum class Kind : std::uint8_t { kGestureBegin, kValue, kGestureEnd };
    Kind kind;
    clap_id id;
    double value;
};

class EditorEventQueue {
public:
    static constexpr std::uint32_t kCapacity = 1024;

    // Window thread. False when the ring is full.
    bool push(const EditorEvent& event);
    // The consumer's thread. Writes every waiting edit as a CLAP event, in order.
    void drainInto(const clap_output_events_t* out);
    bool empty() const;

private:
    static void write(const EditorEvent& event, const clap_output_events_t* out);

    std::array<EditorEvent, kCapacity> ring{};
    std::atomic<std::uint32_t> head{0};  // next to pop, written by the consumer
    std::atomic<std::uint32_t> tail{0};  // next to fill, written by the producer
};
