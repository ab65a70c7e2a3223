// The clipping step between GDI's semantics and the pixel kernels: figures
// arrive in device coordinates; what lies inside the device context's clip
// rectangle reaches the kernels in surface coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/shape_geometry.h"

namespace win32subset {

class Painter {
public:
    explicit Painter(const DrawTarget& target) : target(target) {}

    bool hasSurface() const { return target.surface != nullptr; }
    bool monochrome() const { return target.surface != nullptr && target.surface->monochrome; }
    std::uint32_t pixelOf(COLORREF color) const { return pixelFromColor(color, monochrome()); }
    bool isVisible(int x, int y) const {
        return x >= target.clip.left && x < target.clip.right && y >= target.clip.top && y < target.clip.bottom;
    }

    void span(int y, int x0, int x1, std::uint32_t pixel);
    void spans(const std::vector<Span>& spans, std::uint32_t pixel);
    void fill(const RECT& rect, std::uint32_t pixel);
    void pixel(int x, int y, std::uint32_t pixel);
    // The pixel's value, or false outside the clip rectangle.
    bool read(int x, int y, std::uint32_t* pixel) const;

private:
    DrawTarget target;
};

}  // namespace win32subset
