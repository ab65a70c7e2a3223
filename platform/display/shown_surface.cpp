#include "platform/display/shown_surface.h"

#include <algorithm>

#include "platform/windows/rect_math.h"

namespace win32subset {

void ShownSurface::expose(const RECT& area) { exposed = boundingUnion(exposed, area); }

RECT ShownSurface::changedArea(const Surface& surface) const {
    if (surface.width != width || surface.height != height) return {0, 0, surface.width, surface.height};
    RECT changed{0, 0, 0, 0};
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* now = surface.pixels.data() + static_cast<std::size_t>(y) * width;
        const std::uint32_t* before = shown.data() + static_cast<std::size_t>(y) * width;
        if (std::equal(now, now + width, before)) continue;
        int left = 0;
        while (now[left] == before[left]) ++left;
        int right = width;
        while (now[right - 1] == before[right - 1]) --right;
        changed = boundingUnion(changed, RECT{left, y, right, y + 1});
    }
    return changed;
}

RECT ShownSurface::takeChanges(const Surface& surface) {
    const RECT bounds{0, 0, surface.width, surface.height};
    const RECT changed = changedArea(surface);
    const RECT area = intersection(boundingUnion(changed, exposed), bounds);
    exposed = {0, 0, 0, 0};
    if (surface.width != width || surface.height != height) {
        width = surface.width;
        height = surface.height;
        shown = surface.pixels;
    } else if (!isEmptyRect(changed)) {
        // Rows outside the changed ones are equal already.
        const auto first = static_cast<std::size_t>(changed.top) * width;
        const auto last = static_cast<std::size_t>(changed.bottom) * width;
        std::copy(surface.pixels.begin() + first, surface.pixels.begin() + last, shown.begin() + first);
    }
    return area;
}

}  // namespace win32subset
