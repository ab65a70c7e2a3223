// The lowest layer of our GDI: loops over pixels of rectangles and spans that
// the layer above has already clipped to the destination (and, for blits, to
// the source). No kernel checks bounds or knows about device contexts.
#pragma once

#include <cstdint>

#include "platform/gdi/surface.h"

namespace win32subset {

// The four raster operations of BitBlt that the system uses.
enum class RasterOp { sourceCopy, sourceAnd, sourcePaint, notSourceCopy };

// How source pixels become destination pixels before the raster operation.
struct PixelConversion {
    enum class Kind { none, colorToMono, monoToColor };
    Kind kind = Kind::none;
    std::uint32_t monoKey = 0;       // colorToMono: this colour becomes 1, all others 0
    std::uint32_t colorForOne = 0;   // monoToColor: the colour a 1 becomes
    std::uint32_t colorForZero = 0;  // monoToColor: the colour a 0 becomes
};

// Pixels x0 to x1 - 1 of row y.
void fillSpan(Surface& surface, int y, int x0, int x1, std::uint32_t pixel);
void setPixel(Surface& surface, int x, int y, std::uint32_t pixel);
std::uint32_t getPixel(const Surface& surface, int x, int y);
// Copies a width × height block from (sourceX, sourceY) of source to
// (destX, destY) of dest. Source and destination may be the same surface.
void blitRows(Surface& dest, int destX, int destY, int width, int height, const Surface& source, int sourceX,
              int sourceY, RasterOp op, const PixelConversion& conversion);

}  // namespace win32subset
