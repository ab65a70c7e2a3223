// Lines, figures, rectangles and single pixels: GDI's edge rules on top of
// the geometry, the pen and the clipping painter.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_painter.h"
#include "platform/gdi/pen_stroke.h"
#include "platform/gdi/shape_geometry.h"

namespace win32subset {

namespace {

// Pen, brush and painter of a device context for one drawing call.
struct DrawingCall {
    explicit DrawingCall(DeviceContextObject& dc) : dc(dc), painter(GdiObjects::instance().targetOf(dc)) {}

    // The brush's pixel, or false for a null brush.
    bool brushPixel(std::uint32_t* pixel) const {
        const BrushObject* brush = GdiObjects::instance().findBrush(dc.brush);
        if (brush == nullptr || brush->logBrush.lbStyle == BS_NULL) return false;
        *pixel = painter.pixelOf(brush->logBrush.lbColor);
        return true;
    }
    void fill(const std::vector<Span>& spans) {
        std::uint32_t pixel;
        if (brushPixel(&pixel)) painter.spans(spans, pixel);
    }

    DeviceContextObject& dc;
    Painter painter;
};

RECT orderedBox(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

double centreX(const RECT& box) { return (box.left + box.right) / 2.0; }
double centreY(const RECT& box) { return (box.top + box.bottom) / 2.0; }

// A pie's interior: the polygon from the centre along the arc's pixels and
// back, filled by the polygon rule, so its right and bottom edges stay out
// like those of every other filled figure.
std::vector<Span> wedgeSpans(const RECT& box, const std::vector<POINT>& arc) {
    std::vector<POINT> corners(arc);
    corners.push_back({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    return polygonSpans(corners.data(), static_cast<int>(corners.size()));
}

// The pixels of the ellipse's outline in the sector from the ray through
// start counter-clockwise to the ray through end, walked from start.
std::vector<POINT> arcPixels(const RECT& box, POINT start, POINT end) {
    const double cx = centreX(box);
    const double cy = centreY(box);
    const ArcSector sector(cx, cy, start, end);
    std::vector<POINT> arc;
    for (const POINT& p : regionOutline(ellipseSpans(box), cx, cy)) {
        if (sector.contains(p.x + 0.5, p.y + 0.5)) arc.push_back(p);
    }
    std::stable_sort(arc.begin(), arc.end(), [&sector](const POINT& a, const POINT& b) {
        return sector.offsetOf(a.x + 0.5, a.y + 0.5) < sector.offsetOf(b.x + 0.5, b.y + 0.5);
    });
    return arc;
}

// An (HBRUSH)(COLOR_x + 1) value instead of a brush handle.
bool isSystemColorBrush(HBRUSH brush) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(brush);
    return value >= 1 && value <= 31;
}

}  // namespace

}  // namespace win32subset

using win32subset::DrawingCall;
using win32subset::GdiObjects;
using win32subset::PenStroke;

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return FALSE;
    if (lppt != nullptr) *lppt = dc->position;
    dc->position = {x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return FALSE;
    DrawingCall call(*dc);
    PenStroke(call.painter, *dc).line(dc->position, {x, y});
    dc->position = {x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr || apt == nullptr || cpt < 2) return FALSE;
    DrawingCall call(*dc);
    PenStroke pen(call.painter, *dc);
    for (int i = 1; i < cpt; ++i) pen.line(apt[i - 1], apt[i]);
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr || apt == nullptr || cpt < 2) return FALSE;
    DrawingCall call(*dc);
    call.fill(win32subset::polygonSpans(apt, cpt));
    PenStroke pen(call.painter, *dc);
    for (int i = 0; i < cpt; ++i) pen.line(apt[i], apt[(i + 1) % cpt]);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return FALSE;
    const RECT box = win32subset::orderedBox(left, top, right, bottom);
    const std::vector<win32subset::Span> interior = win32subset::ellipseSpans(box);
    DrawingCall call(*dc);
    call.fill(interior);
    PenStroke pen(call.painter, *dc);
    if (!pen.isNull())
        pen.path(win32subset::regionOutline(interior, win32subset::centreX(box), win32subset::centreY(box)));
    return TRUE;
}

BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return FALSE;
    const RECT box = win32subset::orderedBox(x1, y1, x2, y2);
    DrawingCall call(*dc);
    PenStroke(call.painter, *dc).path(win32subset::arcPixels(box, {x3, y3}, {x4, y4}));
    return TRUE;
}

BOOL WINAPI Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return FALSE;
    const RECT box = win32subset::orderedBox(left, top, right, bottom);
    const std::vector<POINT> arc = win32subset::arcPixels(box, {xr1, yr1}, {xr2, yr2});
    const std::vector<win32subset::Span> wedge = win32subset::wedgeSpans(box, arc);
    DrawingCall call(*dc);
    call.fill(wedge);
    PenStroke pen(call.painter, *dc);
    if (pen.isNull() || arc.empty()) return TRUE;
    // The outline: the arc and the two radii.
    const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    pen.path(arc);
    pen.line(arc.back(), centre);
    pen.line(centre, arc.front());
    return TRUE;
}

// Like USER32's FillRect, this answers 1 for any rectangle, drawing nothing
// when the DC or the brush is not valid.
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    GdiObjects& objects = GdiObjects::instance();
    if (lprc == nullptr) return 0;
    win32subset::DeviceContextObject* dc = objects.findDc(hDC);
    if (dc == nullptr) return 1;
    COLORREF color;
    if (win32subset::isSystemColorBrush(hbr)) {
        if (reinterpret_cast<std::uintptr_t>(hbr) != COLOR_BTNFACE + 1) return 1;
        color = win32subset::kButtonFaceColor;
    } else {
        const win32subset::BrushObject* brush = objects.findBrush(hbr);
        if (brush == nullptr || brush->logBrush.lbStyle == BS_NULL) return 1;
        color = brush->logBrush.lbColor;
    }
    DrawingCall call(*dc);
    call.painter.fill(*lprc, call.painter.pixelOf(color));  // right column and bottom row left out
    return 1;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return CLR_INVALID;
    DrawingCall call(*dc);
    const std::uint32_t pixel = call.painter.pixelOf(color);
    call.painter.pixel(x, y, pixel);
    return win32subset::colorFromPixel(pixel, call.painter.monochrome());  // the colour set, as GDI answers
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    win32subset::DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return CLR_INVALID;
    DrawingCall call(*dc);
    std::uint32_t pixel;
    if (!call.painter.read(x, y, &pixel)) return CLR_INVALID;
    return win32subset::colorFromPixel(pixel, call.painter.monochrome());
}
