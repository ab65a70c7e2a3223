#include "platform/gdi/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace win32subset {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// GDI numbers the octants 1 to 8 counter-clockwise in device space (y down)
// from the positive x axis; ties step towards the end point in 3, 5, 6 and 8.
bool tieStepsMinor(int dx, int dy) {
    int octant;
    if (dy > 0) {
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    } else {
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    }
    return octant == 3 || octant == 5 || octant == 6 || octant == 8;
}

// The smallest integer not below n / d, for d > 0.
int ceilDiv(long long n, long long d) {
    long long q = n / d;
    if (n % d != 0 && n > 0) ++q;
    return static_cast<int>(q);
}

// Counter-clockwise on the screen (y grows downwards), in [0, 2π).
double screenAngle(double dx, double dy) {
    double angle = std::atan2(-dy, dx);
    return angle < 0 ? angle + kTwoPi : angle;
}

}  // namespace

std::vector<POINT> linePixels(POINT from, POINT to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    const bool xMajor = adx > ady;
    const int major = xMajor ? adx : ady;
    const int minor = xMajor ? ady : adx;
    const int bias = tieStepsMinor(dx, dy) ? 1 : 0;
    const int stepX = dx < 0 ? -1 : 1;
    const int stepY = dy < 0 ? -1 : 1;

    std::vector<POINT> pixels;
    pixels.reserve(static_cast<std::size_t>(major));
    POINT p = from;
    int error = 2 * minor - major;
    for (int i = 0; i < major; ++i) {
        pixels.push_back(p);
        if (error + bias > 0) {
            if (xMajor)
                p.y += stepY;
            else
                p.x += stepX;
            error += 2 * minor - 2 * major;
        } else {
            error += 2 * minor;
        }
        if (xMajor)
            p.x += stepX;
        else
            p.y += stepY;
    }
    return pixels;
}

std::vector<Span> ellipseSpans(const RECT& box) {
    std::vector<Span> spans;
    const double halfWidth = (box.right - box.left) / 2.0;
    const double halfHeight = (box.bottom - box.top) / 2.0;
    if (halfWidth <= 0 || halfHeight <= 0) return spans;
    const double centreX = (box.left + box.right) / 2.0;
    const double centreY = (box.top + box.bottom) / 2.0;
    for (int y = box.top; y < box.bottom; ++y) {
        const double v = (y + 0.5 - centreY) / halfHeight;
        if (v * v > 1.0) continue;
        const double reach = halfWidth * std::sqrt(1.0 - v * v);
        // Pixel x is inside when its centre x + 0.5 lies within centreX ± reach.
        const int x0 = static_cast<int>(std::ceil(centreX - reach - 0.5));
        const int x1 = static_cast<int>(std::floor(centreX + reach - 0.5)) + 1;
        if (x1 > x0) spans.push_back({y, x0, x1});
    }
    return spans;
}

std::vector<POINT> regionOutline(const std::vector<Span>& spans, double centreX, double centreY) {
    std::vector<POINT> outline;
    if (spans.empty()) return outline;
    int top = spans.front().y;
    int bottom = spans.front().y;
    for (const Span& span : spans) {
        top = std::min(top, span.y);
        bottom = std::max(bottom, span.y);
    }
    std::vector<std::vector<Span>> rows(static_cast<std::size_t>(bottom - top + 1));
    for (const Span& span : spans) rows[span.y - top].push_back(span);
    auto covers = [&rows, top, bottom](int x, int y) {
        if (y < top || y > bottom) return false;
        for (const Span& span : rows[y - top]) {
            if (x >= span.x0 && x < span.x1) return true;
        }
        return false;
    };
    for (const Span& span : spans) {
        for (int x = span.x0; x < span.x1; ++x) {
            const bool edge =
                !covers(x - 1, span.y) || !covers(x + 1, span.y) || !covers(x, span.y - 1) || !covers(x, span.y + 1);
            if (edge) outline.push_back({x, span.y});
        }
    }
    std::stable_sort(outline.begin(), outline.end(), [centreX, centreY](const POINT& a, const POINT& b) {
        return screenAngle(a.x + 0.5 - centreX, a.y + 0.5 - centreY) <
               screenAngle(b.x + 0.5 - centreX, b.y + 0.5 - centreY);
    });
    return outline;
}

std::vector<Span> polygonSpans(const POINT* points, int count) {
    std::vector<Span> spans;
    if (count < 2) return spans;
    int top = points[0].y;
    int bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min<int>(top, points[i].y);
        bottom = std::max<int>(bottom, points[i].y);
    }
    std::vector<int> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            POINT a = points[i];
            POINT b = points[(i + 1) % count];
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b);
            if (y < a.y || y >= b.y) continue;  // top end counts, bottom end does not
            // The first pixel at or right of the crossing x = a.x + (y - a.y) (b.x - a.x) / (b.y - a.y).
            const long long numerator =
                static_cast<long long>(a.x) * (b.y - a.y) + static_cast<long long>(y - a.y) * (b.x - a.x);
            crossings.push_back(ceilDiv(numerator, b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            if (crossings[i + 1] > crossings[i]) spans.push_back({y, crossings[i], crossings[i + 1]});
        }
    }
    return spans;
}

ArcSector::ArcSector(double centreX, double centreY, POINT start, POINT end)
    : centreX(centreX), centreY(centreY), startAngle(screenAngle(start.x - centreX, start.y - centreY)) {
    const double endAngle = screenAngle(end.x - centreX, end.y - centreY);
    sweep = endAngle - startAngle;
    if (sweep <= 0) sweep += kTwoPi;
}

double ArcSector::offsetOf(double x, double y) const {
    const double offset = screenAngle(x - centreX, y - centreY) - startAngle;
    return offset < 0 ? offset + kTwoPi : offset;
}

}  // namespace win32subset
