// Stage 2: eight image sources of a rectangular room, read as taps off one
// line. The room's geometry gives each reflection its delay and gain; they are
// derived again only when one of the seven room parameters changes.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/engine_sizes.h"
#include "reverb/tap_delay.h"

class EarlyReflections {
public:
    static constexpr std::int32_t kReflectionCount = 8;
    static constexpr std::int32_t kRoomValueCount = 7;
    // A reflection's distance in metres is at least this, so an image point on
    // the listener gives a large finite gain instead of a division by zero.
    static constexpr float kMinReflectionDistance = 1.0e-3f;

    // The room parameters in their order: level, width, depth, source x and y, listener x and y.
    using RoomValues = std::array<float, kRoomValueCount>;

    explicit EarlyReflections(const EngineSizes& sizes);

    // Once per block: taps and gains for this room (skipped while its values keep their bits).
    void updateRoom(const RoomValues& room);
    // The most pairs a run may have with these taps (see runLimitFor).
    std::int32_t runLimit(std::int32_t longestRun) const;
    // x[n] into the line, then early[n] = the mean of the eight reflections, for n < pairs.
    void run(const float* x, float* early, std::int32_t pairs);
    void clear() { line.clear(); }

    std::int32_t tap(std::int32_t reflection) const { return taps[reflection]; }  // samples
    float gain(std::int32_t reflection) const { return gains[reflection]; }

private:
    // early[n] = the reflections of pair n added in order, for n < pairs, from
    // each tap's cells (a span of `pairs` cells a tap) or from the line's spans.
    void sumUnbroken(const float* const spans[kReflectionCount], float* early, std::int32_t pairs) const;
    void sumBySpans(float* early, std::int32_t pairs) const;

    const float halfRate;
    TapDelay line;
    std::array<std::int32_t, kReflectionCount> taps{};
    std::array<float, kReflectionCount> gains{};
    std::array<std::uint32_t, kRoomValueCount> derivedFrom{};  // bits of the room values
    bool derived = false;
};
