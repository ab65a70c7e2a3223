#include "platform/gdi/pen_stroke.h"

#include <algorithm>

namespace win32subset {

namespace {

constexpr int kDotLength = 3;  // pixels on, then as many off

// The squared distance from (x, y) to the segment from a to b.
double squaredDistanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - ax) * dx + (y - ay) * dy) / lengthSquared : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double ex = ax + t * dx - x;
    const double ey = ay + t * dy - y;
    return ex * ex + ey * ey;
}

}  // namespace

PenStroke::PenStroke(Painter& painter, const DeviceContextObject& dc) : painter(painter) {
    const PenObject* pen = GdiObjects::instance().findPen(dc.pen);
    if (pen == nullptr || pen->logPen.lopnStyle == PS_NULL) {
        isNull_ = true;
        return;
    }
    width = pen->logPen.lopnWidth.x;
    dotted = pen->logPen.lopnStyle == PS_DOT && width <= 1;
    opaqueGaps = dc.backgroundMode == OPAQUE;
    inkPixel = painter.pixelOf(pen->logPen.lopnColor);
    gapPixel = painter.pixelOf(dc.backgroundColor);
}

void PenStroke::line(POINT a, POINT b) {
    if (isNull_) return;
    if (width > 1) {
        wideSegment(a, b);
        return;
    }
    path(linePixels(a, b));
}

void PenStroke::wideSegment(POINT a, POINT b) {
    // Pixels within about half the width of the segment, a little less so
    // that the round ends match GDI's; an even width leans half a pixel up
    // and left so that it covers width pixels across.
    const double limit = width * width / 4.0 - 0.3;
    const double shift = width % 2 == 0 ? -0.5 : 0.0;
    const int reach = width / 2 + 1;
    for (int y = std::min(a.y, b.y) - reach; y <= std::max(a.y, b.y) + reach; ++y) {
        for (int x = std::min(a.x, b.x) - reach; x <= std::max(a.x, b.x) + reach; ++x) {
            if (squaredDistanceToSegment(x, y, a.x + shift, a.y + shift, b.x + shift, b.y + shift) <= limit) {
                painter.pixel(x, y, inkPixel);
            }
        }
    }
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
    if (width > 1) {
        wideSegment(p, p);
    } else {
        painter.pixel(p.x, p.y, inkPixel);
    }
}

}  // namespace win32subset
