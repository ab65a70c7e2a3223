// Reads a fuzzer's bytes as the arguments of host calls. Every read succeeds:
// past the end of the input it answers zeros, so any byte string is a valid
// call sequence. Multi-byte values are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/aeffect.h"

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool atEnd() const { return position >= size; }
    std::size_t remaining() const { return atEnd() ? 0 : size - position; }

    std::uint8_t byte() { return atEnd() ? 0 : data[position++]; }
    std::uint16_t word16() {
        const std::uint16_t low = byte();  // its own statement: the operands of | may run in either order
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    std::uint32_t word32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= static_cast<std::uint32_t>(byte()) << shift;
        return value;
    }
    std::uint64_t word64() {
        const std::uint64_t low = word32();
        return low | (static_cast<std::uint64_t>(word32()) << 32);
    }

    // A float a careless host might send. Selector below 0x40: one of the
    // awkward values (NaN, infinities, denormals, extremes, edges of 0 … 1);
    // 0x40 … 0x7F: the grid 0, 1/63 … 1 of nominal values; above: 4 raw bytes.
    float anyFloat();

    // A double a careless host might send: an anyFloat widened, or 8 raw bytes.
    double anyDouble();

    // A sample offset into a block of `frames`: mostly within it, else its
    // end, just past it, far past it, negative or an extreme.
    std::int32_t anyOffset(std::int32_t frames);

    // An index: 0 … 63 (all parameters and a few beyond), a small negative or
    // positive one, an extreme, or 4 raw bytes.
    std::int32_t anyIndex();

    // A dispatcher value argument: mostly 0 … 3, sometimes a small signed one,
    // an extreme, or raw pointer-sized bytes.
    VstIntPtr anyValue();

    // Copies up to `capacity` - 1 bytes of text (a length byte, then the
    // characters) into `text` and terminates it.
    void text(char* text, std::size_t capacity);

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

inline float floatFromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
