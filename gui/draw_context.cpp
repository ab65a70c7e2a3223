#include "gui/draw_context.h"

#include <cstddef>
#include <cstring>
#include <vector>

static_assert(sizeof(GuiPoint) == sizeof(POINT), "point arrays go to GDI unchanged");
static_assert(offsetof(GuiPoint, h) == offsetof(POINT, x) && offsetof(GuiPoint, v) == offsetof(POINT, y));

namespace {

constexpr std::uint32_t penStyleSolid = 0;
constexpr std::uint32_t penStyleDotted = 2;
constexpr UINT textFlagsLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT textFlagsCenter = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT textFlagsRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

COLORREF toColorRef(const GuiColor& color) { return static_cast<COLORREF>(color.toColorRef()); }

RECT toRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    RECT rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

}  // namespace

DrawContext::DrawContext(GuiFrame* frame, HDC deviceContext, HWND window)
    : deviceContext(deviceContext), window(window), frame(frame) {
    if (deviceContext == nullptr) return;
    previousBrush = GetCurrentObject(deviceContext, OBJ_BRUSH);
    previousPen = GetCurrentObject(deviceContext, OBJ_PEN);
    previousFont = GetCurrentObject(deviceContext, OBJ_FONT);
    SetBkMode(deviceContext, TRANSPARENT);
    // A pen, a brush and the text colour are in place before anything is drawn.
    setLineColor(lineColor);
    setLineStyle(lineStyle);
    setFillColor(fillColor);
    setTextColor(textColor);
}

DrawContext::~DrawContext() {
    if (previousBrush != nullptr) SelectObject(deviceContext, previousBrush);
    if (previousPen != nullptr) SelectObject(deviceContext, previousPen);
    if (previousFont != nullptr) SelectObject(deviceContext, previousFont);
    if (ownBrush != nullptr) DeleteObject(ownBrush);
    if (ownPen != nullptr) DeleteObject(ownPen);
    if (ownFont != nullptr) DeleteObject(ownFont);
}

void DrawContext::moveTo(const GuiPoint& point) {
    const GuiPoint device = deviceScale.toDevice(point);
    MoveToEx(deviceContext, device.h, device.v, nullptr);
}

void DrawContext::lineTo(const GuiPoint& point) {
    const GuiPoint device = deviceScale.toDevice(point);
    LineTo(deviceContext, device.h, device.v);
}

std::vector<GuiPoint> DrawContext::toDevice(const GuiPoint* points, std::int32_t count) const {
    std::vector<GuiPoint> device;
    for (std::int32_t i = 0; i < count; ++i) device.push_back(deviceScale.toDevice(points[i]));
    return device;
}

void DrawContext::drawPolyline(const GuiPoint* points, std::int32_t count) {
    if (count <= 0) return;
    const std::vector<GuiPoint> device = toDevice(points, count);
    Polyline(deviceContext, reinterpret_cast<const POINT*>(device.data()), count);
}

void DrawContext::fillPolygon(const GuiPoint* points, std::int32_t count) {
    if (count <= 0) return;
    const std::vector<GuiPoint> device = toDevice(points, count);
    HGDIOBJ pen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    Polygon(deviceContext, reinterpret_cast<const POINT*>(device.data()), count);
    SelectObject(deviceContext, pen);
}

void DrawContext::drawRect(const GuiRect& rect) {
    moveTo(GuiPoint(rect.left, rect.top));
    lineTo(GuiPoint(rect.right, rect.top));
    lineTo(GuiPoint(rect.right, rect.bottom));
    lineTo(GuiPoint(rect.left, rect.bottom));
    lineTo(GuiPoint(rect.left, rect.top));
}

void DrawContext::fillRect(const GuiRect& layoutRect) {
    const GuiRect rect = deviceScale.toDevice(layoutRect);
    // GDI leaves right and bottom out, so this is exactly the interior of drawRect.
    RECT interior = toRect(rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    HGDIOBJ pen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    FillRect(deviceContext, &interior, ownBrush);
    SelectObject(deviceContext, pen);
}

void DrawContext::drawEllipse(const GuiRect& layoutRect) {
    const GuiRect rect = deviceScale.toDevice(layoutRect);
    // Start and end at the top centre: a closed outline.
    std::int32_t topCentre = rect.left + rect.width() / 2;
    Arc(deviceContext, rect.left, rect.top, rect.right + 1, rect.bottom + 1, topCentre, rect.top, topCentre, rect.top);
}

void DrawContext::fillEllipse(const GuiRect& layoutRect) {
    const GuiRect rect = deviceScale.toDevice(layoutRect);
    HGDIOBJ pen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    Ellipse(deviceContext, rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    SelectObject(deviceContext, pen);
}

void DrawContext::drawArc(const GuiRect& layoutRect, const GuiPoint& layoutStart, const GuiPoint& layoutEnd) {
    const GuiRect rect = deviceScale.toDevice(layoutRect);
    const GuiPoint start = deviceScale.toDevice(layoutStart);
    const GuiPoint end = deviceScale.toDevice(layoutEnd);
    Arc(deviceContext, rect.left, rect.top, rect.right + 1, rect.bottom + 1, start.h, start.v, end.h, end.v);
}

void DrawContext::fillArc(const GuiRect& layoutRect, const GuiPoint& layoutStart, const GuiPoint& layoutEnd) {
    const GuiRect rect = deviceScale.toDevice(layoutRect);
    const GuiPoint start = deviceScale.toDevice(layoutStart);
    const GuiPoint end = deviceScale.toDevice(layoutEnd);
    HGDIOBJ pen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    Pie(deviceContext, rect.left + 1, rect.top + 1, rect.right, rect.bottom, start.h, start.v, end.h, end.v);
    SelectObject(deviceContext, pen);
}

void DrawContext::drawPixel(const GuiPoint& point, const GuiColor& color) {
    const GuiPoint device = deviceScale.toDevice(point);
    SetPixel(deviceContext, device.h, device.v, toColorRef(color));
}

void DrawContext::setLineStyle(LineStyle style) {
    lineStyle = style;
    penStyle = style == lineDotted ? penStyleDotted : penStyleSolid;
    rebuildPen();
}

void DrawContext::setLineWidth(std::int32_t pixels) {
    lineWidth = pixels;
    rebuildPen();
}

void DrawContext::setLineColor(const GuiColor& color) {
    lineColor = color;
    rebuildPen();
}

void DrawContext::setFillColor(const GuiColor& color) {
    fillColor = color;
    rebuildBrush();
}

void DrawContext::setTextColor(const GuiColor& color) {
    textColor = color;
    SetTextColor(deviceContext, toColorRef(color));
}

void DrawContext::setFont(FontId id, std::int32_t sizePixels) {
    id = validFontId(id);
    const FontSpec& entry = fontTable[id];
    fontSize = sizePixels == 0 ? entry.defaultSizePixels : sizePixels;

    LOGFONTA logicalFont;
    std::memset(&logicalFont, 0, sizeof(logicalFont));
    logicalFont.lfHeight = -deviceScale.toDevice(fontSize);  // negative: character height, not cell height
    logicalFont.lfWeight = entry.weight;
    logicalFont.lfCharSet = 0;        // ANSI_CHARSET
    logicalFont.lfOutPrecision = 1;   // OUT_STRING_PRECIS
    logicalFont.lfClipPrecision = 2;  // CLIP_STROKE_PRECIS
    logicalFont.lfQuality = 0;        // DEFAULT_QUALITY
    logicalFont.lfPitchAndFamily = entry.pitchAndFamily;
    std::strncpy(logicalFont.lfFaceName, entry.face, sizeof(logicalFont.lfFaceName) - 1);

    HFONT font = CreateFontIndirectA(&logicalFont);
    SelectObject(deviceContext, font);
    if (ownFont != nullptr) DeleteObject(ownFont);
    ownFont = font;
}

void DrawContext::drawText(const char* text, const GuiRect& rect, bool opaque, TextAlign align) {
    if (text == nullptr) text = "";
    SetBkMode(deviceContext, opaque ? OPAQUE : TRANSPARENT);  // opaque text lies on the fill colour
    const GuiRect device = deviceScale.toDevice(rect);
    RECT box = toRect(device.left, device.top, device.right, device.bottom);
    UINT flags = textFlagsLeft;
    if (align == alignCenter) {
        flags = textFlagsCenter;
    } else if (align == alignRight) {
        flags = textFlagsRight;
    } else {
        box.left += 1;
    }
    DrawTextA(deviceContext, text, static_cast<int>(std::strlen(text)), &box, flags);
    SetBkMode(deviceContext, TRANSPARENT);
}

std::int32_t DrawContext::getMouseState() const {
    struct KeyBit {
        int virtualKey;
        std::int32_t bit;
    };
    static constexpr KeyBit keys[] = {
        {VK_LBUTTON, mouseLeft}, {VK_MBUTTON, mouseMiddle}, {VK_RBUTTON, mouseRight},
        {VK_SHIFT, keyShift},    {VK_CONTROL, keyControl},  {VK_MENU, keyAlt},
    };
    std::int32_t state = 0;
    for (const KeyBit& key : keys) {
        // The top bit: held down at this instant.
        if ((static_cast<unsigned>(GetAsyncKeyState(key.virtualKey)) & 0x8000u) != 0) state |= key.bit;
    }
    return state;
}

void DrawContext::getMouseLocation(GuiPoint& point) const {
    POINT cursor;
    cursor.x = 0;
    cursor.y = 0;
    GetCursorPos(&cursor);
    MapWindowPoints(nullptr, window, &cursor, 1);
    point = deviceScale.toLayout(GuiPoint(cursor.x, cursor.y));
}

void DrawContext::rebuildPen() {
    LOGPEN pen;
    pen.lopnStyle = penStyle;
    pen.lopnWidth.x = lineWidth;
    pen.lopnWidth.y = lineWidth;
    pen.lopnColor = toColorRef(lineColor);
    HPEN newPen = CreatePenIndirect(&pen);
    SelectObject(deviceContext, newPen);
    if (ownPen != nullptr) DeleteObject(ownPen);
    ownPen = newPen;
}

void DrawContext::rebuildBrush() {
    SetBkColor(deviceContext, toColorRef(fillColor));
    LOGBRUSH brush;
    brush.lbStyle = 0;  // BS_SOLID
    brush.lbColor = toColorRef(fillColor);
    brush.lbHatch = 0;
    HBRUSH newBrush = CreateBrushIndirect(&brush);
    if (newBrush == nullptr) return;  // the previous brush stays in use
    SelectObject(deviceContext, newBrush);
    if (ownBrush != nullptr) DeleteObject(ownBrush);
    ownBrush = newBrush;
}
