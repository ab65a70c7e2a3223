// Common storage of the three delay-line classes: a circular buffer of
// `capacity` cells and a cursor at the cell written next, which also holds
// the oldest sample. Positions are indices. A line owns its cells, so it
// cannot be copied.
//
// Audio thread, clear included: mainsOff leaves it to the next block.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

class DelayBlock {
public:
    DelayBlock(const DelayBlock&) = delete;
    DelayBlock& operator=(const DelayBlock&) = delete;
    ~DelayBlock() = default;

    std::int32_t getCursor() const { return cursor; }

    // Runs of steps. The engine renders several steps of a line in one loop
    // over plain arrays of cells, which must not cross the end of the ring,
    // where the indices wrap. These need the cursor below the active length
    // (a line that has not been shortened under its cursor).
    //
    // The cells of a run: step n writes current[n] (its cursor cell) and reads
    // delayed[n], the cell `distance` back of it.
    struct RunCells {
        float* current;
        const float* delayed;
    };
    // How many steps the cursor cell and the cell `distance` back can both
    // move on before either would pass the end of the ring: at least 1.
    std::int32_t stepsBeforeWrap(std::int32_t distance) const {
        const std::int32_t written = activeLength - cursor;
        const std::int32_t read = activeLength - indexBack(distance, activeLength);
        return written < read ? written : read;
    }
    RunCells runCells(std::int32_t distance) {
        return {buffer.get() + cursor, buffer.get() + indexBack(distance, activeLength)};
    }
    // The cells `distance` back of each of the next `count` steps, as the
    // cells stand now, where they lie in one piece: the line's own cells, or
    // null where they wrap (or the line was shortened under its cursor).
    const float* unbrokenTapRun(std::int32_t distance, std::int32_t count) const {
        const std::int32_t start = indexBack(distance, activeLength);
        return count <= activeLength - start ? buffer.get() + start : nullptr;
    }
    // The same for any count up to the active length: where the cells wrap,
    // a copy in `scratch` (room for count cells). What a run reads when none
    // of its steps writes a cell it taps.
    const float* tapRun(std::int32_t distance, std::int32_t count, float* scratch) const {
        if (const float* cells = unbrokenTapRun(distance, count)) return cells;
        const std::int32_t start = indexBack(distance, activeLength);
        const std::int32_t first = activeLength - start;
        std::copy(buffer.get() + start, buffer.get() + activeLength, scratch);
        std::copy(buffer.get(), buffer.get() + (count - first), scratch + first);
        return scratch;
    }
    // `steps` advances at once, 0 … active length: the cursor that many single
    // advances give.
    void advanceBy(std::int32_t steps) {
        cursor += steps;
        if (cursor >= activeLength) cursor -= activeLength;
    }

protected:
    // At least one cell, so that a ring always has somewhere to advance to.
    explicit DelayBlock(std::int32_t cells)
        : buffer(std::make_unique<float[]>(cells > 0 ? cells : 1)),
          activeLength(cells > 0 ? cells : 1),
          capacity(cells > 0 ? cells : 1) {}

    // Index of the sample `distance` steps back in a ring of `ringLength` cells.
    // distance 0 … ringLength; 0 and ringLength both address the cursor cell.
    // While the cursor lies below the capacity the index does too.
    std::int32_t indexBack(std::int32_t distance, std::int32_t ringLength) const {
        std::int32_t index = cursor - distance;
        if (index < 0) index += ringLength;
        return index;
    }
    void zeroCells();

    std::int32_t cursor = 0;
    std::unique_ptr<float[]> buffer;
    std::int32_t activeLength;  // the ring's length: the capacity, or what TapDelay::setLength set
    std::int32_t capacity;
};
