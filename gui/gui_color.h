// Colours as the toolkit stores them, and the ten named colours.
#pragma once

#include <cstdint>

struct GuiColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t unused = 0;  // 0 in every constant; no drawing reads it

    // The Windows colour value red + green * 256 + blue * 65536.
    constexpr std::uint32_t toColorRef() const {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16;
    }
    // Compares red, green and blue only.
    constexpr bool sameRgb(const GuiColor& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
static_assert(sizeof(GuiColor) == 4);

// The key colour of GuiBitmap::drawTransparent; equal in value to colorWhite.
inline constexpr GuiColor colorTransparent{255, 255, 255, 0};
inline constexpr GuiColor colorBlack{0, 0, 0, 0};
inline constexpr GuiColor colorWhite{255, 255, 255, 0};
inline constexpr GuiColor colorMedium{127, 127, 127, 0};
inline constexpr GuiColor colorRed{255, 0, 0, 0};
inline constexpr GuiColor colorGreen{0, 255, 0, 0};
inline constexpr GuiColor colorBlue{0, 0, 255, 0};
inline constexpr GuiColor colorYellow{255, 255, 0, 0};
inline constexpr GuiColor colorMagenta{255, 0, 255, 0};
inline constexpr GuiColor colorCyan{0, 255, 255, 0};
