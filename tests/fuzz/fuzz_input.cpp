#include "tests/fuzz/fuzz_input.h"

#include <array>
#include <limits>

namespace {

// Bit patterns, so that signalling NaNs and negative zero are exact.
constexpr std::array<std::uint32_t, 32> kAwkwardFloats{{
    0x7FC00000u,  // quiet NaN
    0xFFC00000u,  // negative quiet NaN
    0x7FA00000u,  // signalling NaN
    0x7FFFFFFFu,  // NaN with every payload bit
    0x7F800000u,  // +infinity
    0xFF800000u,  // -infinity
    0x00000001u,  // smallest denormal
    0x80000001u,  // smallest negative denormal
    0x007FFFFFu,  // largest denormal
    0x00800000u,  // smallest normal
    0x7F7FFFFFu,  // largest finite
    0xFF7FFFFFu,  // most negative finite
    0x00000000u,  // +0
    0x80000000u,  // -0
    0x3F800000u,  // 1
    0xBF800000u,  // -1
    0x3F000000u,  // 0.5
    0x3F800001u,  // just above 1
    0x3F7FFFFFu,  // just below 1
    0x40000000u,  // 2
    0x501502F9u,  // 1e10
    0xD01502F9u,  // -1e10
    0x2EDBE6FFu,  // 1e-10
    0x3F7D70A4u,  // 0.99
    0x7E967699u,  // 1e38
    0x3DCCCCCDu,  // 0.1
    0x3E4CCCCDu,  // 0.2
    0x3F4CCCCDu,  // 0.8
    0x461C4000u,  // 10000
    0xC61C4000u,  // -10000
    0x33D6BF95u,  // 1e-7
    0xBDCCCCCDu,  // -0.1
}};

constexpr std::array<std::int32_t, 8> kExtremeIndices{{
    std::numeric_limits<std::int32_t>::min(),
    std::numeric_limits<std::int32_t>::max(),
    -1,
    57,
    58,
    0x10000,
    -0x10000,
    0x7FFF,
}};

}  // namespace

float FuzzInput::anyFloat() {
    const std::uint8_t selector = byte();
    if (selector < 0x40) return floatFromBits(kAwkwardFloats[selector % kAwkwardFloats.size()]);
    if (selector < 0x80) return static_cast<float>(selector - 0x40) / 63.0f;
    return floatFromBits(word32());
}

double FuzzInput::anyDouble() {
    if ((byte() & 1) == 0) return anyFloat();
    const std::uint64_t bits = word64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::int32_t FuzzInput::anyOffset(std::int32_t frames) {
    const std::uint8_t selector = byte();
    switch (selector >> 5) {
        case 0:
        case 1:
        case 2:
        case 3: return frames > 0 ? static_cast<std::int32_t>(word16() % frames) : 0;
        case 4: return frames;
        case 5: return frames + 1 + (selector & 0x1F);
        case 6: return -1 - (selector & 0x1F);
        default: return static_cast<std::int32_t>(word32());
    }
}

std::int32_t FuzzInput::anyIndex() {
    const std::uint8_t selector = byte();
    switch (selector >> 6) {
        case 0: return selector & 0x3F;
        case 1: return static_cast<std::int8_t>(byte());
        case 2: return kExtremeIndices[selector % kExtremeIndices.size()];
        default: return static_cast<std::int32_t>(word32());
    }
}

VstIntPtr FuzzInput::anyValue() {
    const std::uint8_t selector = byte();
    switch (selector >> 6) {
        case 0:
        case 1: return selector & 0x03;
        case 2: return static_cast<std::int8_t>(byte());
        default:
            if (selector & 1) return static_cast<VstIntPtr>(static_cast<std::int32_t>(word32()));
            return static_cast<VstIntPtr>(word64());  // keeps the low half on 32-bit targets
    }
}

void FuzzInput::text(char* text, std::size_t capacity) {
    std::size_t length = byte();
    if (length > capacity - 1) length = capacity - 1;
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(byte());
    text[length] = '\0';
}
