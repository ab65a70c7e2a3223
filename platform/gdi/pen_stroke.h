// Drawing with a device context's current pen: solid or dotted (three pixels
// on, three off; the gaps in the background colour when the background mode
// is OPAQUE), one pixel wide or, for wider pens, a band of the pen's width
// with round ends (wide pens are always solid, as in GDI).
// The dot pattern starts afresh for each stroke and runs on across the
// segments of one polyline.
#pragma once

#include <vector>

#include "platform/gdi/gdi_painter.h"

namespace win32subset {

class PenStroke {
public:
    PenStroke(Painter& painter, const DeviceContextObject& dc);

    bool isNull() const { return isNull_; }
    // From a to b, b left out (wide pens cover both ends).
    void line(POINT a, POINT b);
    // Pixels in the order the pen walks them.
    void path(const std::vector<POINT>& pixels);

private:
    void plot(POINT p);
    void wideSegment(POINT a, POINT b);

    Painter& painter;
    bool isNull_ = false;
    bool dotted = false;
    bool opaqueGaps = false;
    std::uint32_t inkPixel = 0;
    std::uint32_t gapPixel = 0;
    int width = 1;
    int patternPosition = 0;
};

}  // namespace win32subset
