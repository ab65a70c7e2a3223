// Which pixels the outlines and interiors of GDI's figures cover, in device
// coordinates. Pure geometry: no clipping, colours or device contexts.
#pragma once

#include <vector>

#include "platform/win32.h"

namespace win32subset {

// Pixels x0 to x1 - 1 of row y.
struct Span {
    int y;
    int x0;
    int x1;
};

// A line as GDI draws it: Bresenham's steps, with ties resolved towards the
// end point in octants 3, 5, 6 and 8 and away from it in the others; the end
// pixel is left out.
std::vector<POINT> linePixels(POINT from, POINT to);

// The ellipse inscribed in box (right and bottom exclusive): the pixels whose
// centres lie inside it, one span per row.
std::vector<Span> ellipseSpans(const RECT& box);

// The one-pixel outline of a region given as spans (the region's pixels with a
// neighbour outside it), ordered counter-clockwise on the screen starting at
// 3 o'clock, so that a dotted pen can walk it.
std::vector<POINT> regionOutline(const std::vector<Span>& spans, double centreX, double centreY);

// The polygon's interior with the alternate (even-odd) rule: pixel (x, y)
// belongs to it when the point (x, y) does, left and top edges included,
// right and bottom edges not.
std::vector<Span> polygonSpans(const POINT* points, int count);

// The sector of an arc: counter-clockwise on the screen from the ray through
// start to the ray through end, both from the centre; the full turn when the
// rays coincide.
class ArcSector {
public:
    ArcSector(double centreX, double centreY, POINT start, POINT end);
    bool contains(double x, double y) const { return offsetOf(x, y) <= sweep; }
    // The angle from the start ray to the point, counter-clockwise, in [0, 2π).
    double offsetOf(double x, double y) const;

private:
    double centreX;
    double centreY;
    double startAngle;
    double sweep;
};

}  // namespace win32subset
