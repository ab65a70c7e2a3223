#include "platform/gdi/pixel_kernels.h"

#include <algorithm>
#include <vector>

namespace win32subset {

namespace {

std::uint32_t convert(std::uint32_t source, const PixelConversion& conversion) {
    switch (conversion.kind) {
        case PixelConversion::Kind::colorToMono: return source == conversion.monoKey ? 1u : 0u;
        case PixelConversion::Kind::monoToColor: return source != 0 ? conversion.colorForOne : conversion.colorForZero;
        case PixelConversion::Kind::none: break;
    }
    return source;
}

std::uint32_t combine(std::uint32_t dest, std::uint32_t source, RasterOp op, std::uint32_t mask) {
    switch (op) {
        case RasterOp::sourceCopy: return source & mask;
        case RasterOp::sourceAnd: return dest & source & mask;
        case RasterOp::sourcePaint: return (dest | source) & mask;
        case RasterOp::notSourceCopy: return ~source & mask;
    }
    return dest;
}

}  // namespace

void fillSpan(Surface& surface, int y, int x0, int x1, std::uint32_t pixel) {
    std::uint32_t* row = &surface.at(0, y);
    std::fill(row + x0, row + x1, pixel);
}

void setPixel(Surface& surface, int x, int y, std::uint32_t pixel) { surface.at(x, y) = pixel; }

std::uint32_t getPixel(const Surface& surface, int x, int y) { return surface.at(x, y); }

void blitRows(Surface& dest, int destX, int destY, int width, int height, const Surface& source, int sourceX,
              int sourceY, RasterOp op, const PixelConversion& conversion) {
    const std::uint32_t mask = dest.valueMask();
    std::vector<std::uint32_t> sourceRow(static_cast<std::size_t>(width));
    // Within one surface, walk rows away from the overlap so no row is read after it was written.
    const bool bottomUp = &dest == &source && destY > sourceY;
    for (int i = 0; i < height; ++i) {
        const int row = bottomUp ? height - 1 - i : i;
        const std::uint32_t* from = &source.at(sourceX, sourceY + row);
        std::copy(from, from + width, sourceRow.begin());  // a row copy makes overlapping columns safe
        std::uint32_t* to = &dest.at(destX, destY + row);
        for (int x = 0; x < width; ++x) to[x] = combine(to[x], convert(sourceRow[x], conversion), op, mask);
    }
}

}  // namespace win32subset
