// The pixels behind a bitmap or a top-level window: one 32-bit word per
// pixel, rows top to bottom. Colour surfaces hold 0x00RRGGBB (the byte order
// of a 32-bit DIB); monochrome surfaces hold 0 (black) or 1 (white).
#pragma once

#include <cstdint>
#include <vector>

namespace win32subset {

struct Surface {
    Surface(int width, int height, bool monochrome)
        : width(width),
          height(height),
          monochrome(monochrome),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const std::uint32_t& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // The bits a raster operation works on: 24 for colour, 1 for monochrome.
    std::uint32_t valueMask() const { return monochrome ? 1u : 0x00FFFFFFu; }

    int width;
    int height;
    bool monochrome;
    std::vector<std::uint32_t> pixels;
};

}  // namespace win32subset
