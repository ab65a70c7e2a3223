// Walks a block's IParameterChanges in time order, so that the processor can
// split the block where a change falls and apply it between the pieces.
//
// A change at sample offset n applies from the start of its pair: at frame
// n rounded down to even (the engine renders one step per pair of frames).
// Offsets before the block count as 0, offsets at or past its end as its end.
// Points of one queue are taken in their order; a host's unsorted points
// apply no earlier than the point before them.
//
// Audio thread; nothing allocates: the cursors live in the reader.
#pragma once

#include <vst3_c_api.h>

#include <array>
#include <cstdint>

class ParameterChangeReader {
public:
    // Queues past this many (a host sends one per parameter it changes) apply
    // their last value at the block's start.
    static constexpr std::int32_t kMaxQueues = 128;

    using ApplyChange = void (*)(void* context, Steinberg_Vst_ParamID id, double value);

    // changes may be null (no changes); frames is the block's length.
    ParameterChangeReader(Steinberg_Vst_IParameterChanges* changes, std::int32_t frames);

    // Applies every change not yet applied whose frame is at most `frame`.
    void applyUpTo(std::int32_t frame, ApplyChange apply, void* context);
    // The frame of the earliest change not yet applied, or the block's end.
    std::int32_t nextChangeFrame() const;

private:
    Steinberg_Vst_IParamValueQueue* queue(std::int32_t index) const;
    // The frame of a queue's point, or -1 when the point cannot be read.
    std::int32_t frameOf(Steinberg_Vst_IParamValueQueue* queue, std::int32_t point, double* value) const;
    void applyOverflowQueues(ApplyChange apply, void* context);

    Steinberg_Vst_IParameterChanges* changes;
    std::int32_t frames;
    std::int32_t queueCount = 0;
    std::int32_t overflowQueueCount = 0;
    // Only the first queueCount entries are set and read: a block does not
    // pay for clearing all of them.
    std::array<std::int32_t, kMaxQueues> pointCount;
    std::array<std::int32_t, kMaxQueues> nextPoint;
};
