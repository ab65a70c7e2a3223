// What a display backend last put on the screen for one window, so that it
// sends only what changed: the bounding rectangle of the pixels that differ
// from the last shown ones, plus whatever the screen lost (an exposure).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace win32subset {

class ShownSurface {
public:
    // The native window lost these pixels: show them again whatever they hold.
    void expose(const RECT& area);
    // The area to show now (empty if nothing changed); from then on the
    // surface counts as shown.
    RECT takeChanges(const Surface& surface);

private:
    RECT changedArea(const Surface& surface) const;

    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> shown;
    RECT exposed{0, 0, 0, 0};
};

}  // namespace win32subset
