// The seven fonts of the toolkit: face, default size, weight and family.
#pragma once

#include <cstdint>

using FontId = std::int32_t;

inline constexpr FontId fontBold = 0;
inline constexpr FontId fontHuge = 1;
inline constexpr FontId fontLarge = 2;
inline constexpr FontId fontNormal = 3;
inline constexpr FontId fontSmall = 4;
inline constexpr FontId fontTiny = 5;
inline constexpr FontId fontSymbol = 6;
inline constexpr int fontCount = 7;

struct FontSpec {
    const char* face;
    std::int32_t defaultSizePixels;
    std::int32_t weight;
    std::uint8_t pitchAndFamily;
};

// Indexed by FontId. 0x22: variable pitch, Swiss family; 0x50: decorative family.
inline constexpr FontSpec fontTable[fontCount] = {
    {"Arial", 12, 700, 0x22},       // fontBold
    {"Arial", 18, 400, 0x22},       // fontHuge
    {"Arial", 14, 400, 0x22},       // fontLarge
    {"Arial", 12, 400, 0x22},       // fontNormal
    {"Arial", 11, 400, 0x22},       // fontSmall
    {"Small Fonts", 9, 400, 0x22},  // fontTiny
    {"Symbol", 13, 400, 0x50},      // fontSymbol
};

// An id outside the table is drawn in fontBold.
inline constexpr FontId validFontId(FontId id) { return id < 0 || id >= fontCount ? fontBold : id; }
