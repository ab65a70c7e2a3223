#include "platform/pen_stroke.h"

namespace win32subset {

namespace {

constexpr int kDotLength = 3;  // pixels on, then as many off

// A disc of the pen's width around the pixel; for even widths it leans right
// and down, the way the extra pixel of a wide line does.
std::vector<POINT> penStamp(int width) {
    if (width <= 1) return {{0, 0}};
    std::vector<POINT> offsets;
    const double centre = (width % 2 == 0) ? 0.5 : 0.0;
    const double limit = width * width / 4.0 - 0.25;
    for (int dy = -(width - 1) / 2; dy <= width / 2; ++dy) {
        for (int dx = -(width - 1) / 2; dx <= width / 2; ++dx) {
            if ((dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) < limit) offsets.push_back({dx, dy});
        }
    }
    return offsets;
}

}  // namespace

PenStroke::PenStroke(Painter& painter, const DeviceContextObject& dc) : painter(painter) {
    const PenObject* pen = GdiObjects::instance().findPen(dc.pen);
    if (pen == nullptr || pen->logPen.lopnStyle == PS_NULL) {
        isNull_ = true;
        return;
    }
    const int width = pen->logPen.lopnWidth.x;
    stamp = penStamp(width);
    dotted = pen->logPen.lopnStyle == PS_DOT && width <= 1;
    opaqueGaps = dc.backgroundMode == OPAQUE;
    inkPixel = painter.pixelOf(pen->logPen.lopnColor);
    gapPixel = painter.pixelOf(dc.backgroundColor);
}

void PenStroke::line(POINT a, POINT b) {
    if (isNull_) return;
    path(linePixels(a, b));
    if (stamp.size() > 1) plot(b);
}

void PenStroke::path(const std::vector<POINT>& pixels) {
    if (isNull_) return;
    for (const POINT& p : pixels) plot(p);
}

void PenStroke::plot(POINT p) {
    if (dotted) {
        const bool ink = patternPosition < kDotLength;
        patternPosition = (patternPosition + 1) % (2 * kDotLength);
        if (ink) {
            painter.pixel(p.x, p.y, inkPixel);
        } else if (opaqueGaps) {
            painter.pixel(p.x, p.y, gapPixel);
        }
        return;
    }
    for (const POINT& offset : stamp) painter.pixel(p.x + offset.x, p.y + offset.y, inkPixel);
}

}  // namespace win32subset
