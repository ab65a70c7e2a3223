#include "platform/gdi/gdi_objects.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace win32subset {

namespace {

constexpr long long kMaxBitmapPixels = 1LL << 26;

std::uintptr_t handleValue(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

template <class Handle>
Handle asHandle(HGDIOBJ object) {
    return static_cast<Handle>(object);
}

LOGPEN makePen(UINT style, COLORREF color) {
    LOGPEN pen;
    pen.lopnStyle = style;
    pen.lopnWidth.x = 1;
    pen.lopnWidth.y = 0;
    pen.lopnColor = color;
    return pen;
}

LOGBRUSH makeBrush(UINT style, COLORREF color) {
    LOGBRUSH brush;
    brush.lbStyle = style;
    brush.lbColor = color;
    brush.lbHatch = 0;
    return brush;
}

LOGFONTA makeSystemFont() {
    LOGFONTA font;
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "System");
    return font;
}

// A new bitmap, or null when the size is negative, absurd or out of memory.
HBITMAP newBitmap(int width, int height, bool monochrome) {
    if (width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return GdiObjects::instance().defaultBitmap();
    if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
    try {
        return asHandle<HBITMAP>(GdiObjects::instance().add(std::make_unique<BitmapObject>(width, height, monochrome)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Device-dependent bitmap rows are padded to 16 bits.
LONG rowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 15) / 16) * 2; }

void loadBits(Surface& surface, const BYTE* bits) {
    const LONG stride = rowBytes(surface.width, surface.monochrome ? 1 : 32);
    for (int y = 0; y < surface.height; ++y) {
        const BYTE* row = bits + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < surface.width; ++x) {
            if (surface.monochrome) {
                surface.at(x, y) = (row[x / 8] >> (7 - x % 8)) & 1u;
            } else {
                const BYTE* p = row + 4 * x;
                surface.at(x, y) = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            }
        }
    }
}

// GetObjectA's answer: the description's size without a buffer, 0 for a too
// small buffer, else the bytes copied.
template <class Description>
int describe(const Description& description, int bufferSize, void* buffer) {
    if (buffer == nullptr) return static_cast<int>(sizeof(Description));
    if (bufferSize < static_cast<int>(sizeof(Description))) return 0;
    std::memcpy(buffer, &description, sizeof(Description));
    return static_cast<int>(sizeof(Description));
}

HGDIOBJ selectBitmap(DeviceContextObject& dc, HBITMAP bitmap) {
    GdiObjects& objects = GdiObjects::instance();
    BitmapObject* object = objects.findBitmap(bitmap);
    if (dc.isWindowDc) return nullptr;  // only memory DCs hold bitmaps
    if (bitmap == dc.bitmap) return bitmap;
    if (!object->stock && object->selections > 0) return nullptr;  // already in another DC
    HBITMAP previous = dc.bitmap;
    dc.bitmap = bitmap;
    objects.noteSelected(bitmap);
    objects.noteDeselected(previous);
    return previous;
}

template <class Handle>
HGDIOBJ swapSelection(Handle& slot, Handle next) {
    Handle previous = slot;
    slot = next;
    GdiObjects::instance().noteSelected(next);
    GdiObjects::instance().noteDeselected(previous);
    return previous;
}

}  // namespace

GdiObjects& GdiObjects::instance() {
    // Never destroyed, so that objects released during static destruction find their table.
    static auto* objects = new GdiObjects;
    return *objects;
}

GdiObjects::GdiObjects() {
    auto addStock = [this](std::unique_ptr<GdiObject> object) {
        object->stock = true;
        return add(std::move(object));
    };
    whiteBrush = addStock(std::make_unique<BrushObject>(makeBrush(BS_SOLID, RGB(255, 255, 255))));
    nullBrush = addStock(std::make_unique<BrushObject>(makeBrush(BS_NULL, 0)));
    blackPen = addStock(std::make_unique<PenObject>(makePen(PS_SOLID, RGB(0, 0, 0))));
    nullPen = addStock(std::make_unique<PenObject>(makePen(PS_NULL, 0)));
    systemFont = addStock(std::make_unique<FontObject>(makeSystemFont()));
    defaultBitmap_ = asHandle<HBITMAP>(addStock(std::make_unique<BitmapObject>(1, 1, true)));
    buttonFaceBrush_ = asHandle<HBRUSH>(addStock(std::make_unique<BrushObject>(makeBrush(BS_SOLID, kButtonFaceColor))));
}

HGDIOBJ GdiObjects::add(std::unique_ptr<GdiObject> object) {
    return reinterpret_cast<HGDIOBJ>(table.add(std::move(object)));
}

GdiObject* GdiObjects::find(const void* handle, GdiKind kind) const {
    GdiObject* object = table.find(handleValue(handle));
    return object != nullptr && object->kind == kind ? object : nullptr;
}

DeviceContextObject* GdiObjects::findDc(HDC dc) const {
    return static_cast<DeviceContextObject*>(find(dc, GdiKind::deviceContext));
}
BitmapObject* GdiObjects::findBitmap(HBITMAP bitmap) const {
    return static_cast<BitmapObject*>(find(bitmap, GdiKind::bitmap));
}
PenObject* GdiObjects::findPen(HPEN pen) const { return static_cast<PenObject*>(find(pen, GdiKind::pen)); }
BrushObject* GdiObjects::findBrush(HBRUSH brush) const {
    return static_cast<BrushObject*>(find(brush, GdiKind::brush));
}
FontObject* GdiObjects::findFont(HFONT font) const { return static_cast<FontObject*>(find(font, GdiKind::font)); }

bool GdiObjects::kindOf(const void* handle, GdiKind* kind) const {
    const GdiObject* object = table.find(handleValue(handle));
    if (object == nullptr) return false;
    *kind = object->kind;
    return true;
}

HGDIOBJ GdiObjects::stockObject(int index) const {
    switch (index) {
        case WHITE_BRUSH: return whiteBrush;
        case NULL_BRUSH: return nullBrush;
        case BLACK_PEN: return blackPen;
        case NULL_PEN: return nullPen;
        case SYSTEM_FONT: return systemFont;
        default: return nullptr;
    }
}

bool GdiObjects::destroy(HGDIOBJ handle) {
    GdiObject* object = table.find(handleValue(handle));
    if (object == nullptr || object->kind == GdiKind::deviceContext) return false;
    if (object->stock) return true;
    if (object->selections > 0) {
        object->deletePending = true;
        return true;
    }
    table.remove(handleValue(handle));
    return true;
}

void GdiObjects::noteSelected(HGDIOBJ handle) {
    if (GdiObject* object = table.find(handleValue(handle))) ++object->selections;
}

void GdiObjects::noteDeselected(HGDIOBJ handle) {
    GdiObject* object = table.find(handleValue(handle));
    if (object == nullptr) return;
    if (--object->selections == 0 && object->deletePending && !object->stock) table.remove(handleValue(handle));
}

bool GdiObjects::destroyDc(HDC dc) {
    DeviceContextObject* object = findDc(dc);
    if (object == nullptr) return false;
    noteDeselected(object->bitmap);
    noteDeselected(object->pen);
    noteDeselected(object->brush);
    noteDeselected(object->font);
    table.remove(handleValue(dc));
    return true;
}

DrawTarget GdiObjects::targetOf(const DeviceContextObject& dc) const {
    DrawTarget target;
    if (dc.isWindowDc) {
        target.surface = dc.windowSurface.get();
        target.origin = dc.windowOrigin;
        target.clip = dc.windowClip;
    } else if (BitmapObject* bitmap = findBitmap(dc.bitmap)) {
        target.surface = &bitmap->surface;
        target.clip = {0, 0, bitmap->surface.width, bitmap->surface.height};
    }
    if (target.surface == nullptr) {
        target.clip = {0, 0, 0, 0};
        return target;
    }
    // Never outside the surface, whatever the window layer asked for.
    target.clip.left = std::max<LONG>(target.clip.left, -target.origin.x);
    target.clip.top = std::max<LONG>(target.clip.top, -target.origin.y);
    target.clip.right = std::min<LONG>(target.clip.right, target.surface->width - target.origin.x);
    target.clip.bottom = std::min<LONG>(target.clip.bottom, target.surface->height - target.origin.y);
    if (target.clip.right < target.clip.left) target.clip.right = target.clip.left;
    if (target.clip.bottom < target.clip.top) target.clip.bottom = target.clip.top;
    return target;
}

std::uint32_t pixelFromColor(COLORREF color, bool monochrome) {
    const std::uint32_t red = GetRValue(color);
    const std::uint32_t green = GetGValue(color);
    const std::uint32_t blue = GetBValue(color);
    if (monochrome) return red + green + blue > 382 ? 1u : 0u;
    return (red << 16) | (green << 8) | blue;
}

COLORREF colorFromPixel(std::uint32_t pixel, bool monochrome) {
    if (monochrome) return pixel != 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

namespace {

HDC newDc(std::unique_ptr<DeviceContextObject> dc) {
    GdiObjects& objects = GdiObjects::instance();
    dc->pen = static_cast<HPEN>(objects.stockObject(BLACK_PEN));
    dc->brush = static_cast<HBRUSH>(objects.stockObject(WHITE_BRUSH));
    dc->font = static_cast<HFONT>(objects.stockObject(SYSTEM_FONT));
    objects.noteSelected(dc->pen);
    objects.noteSelected(dc->brush);
    objects.noteSelected(dc->font);
    objects.noteSelected(dc->bitmap);
    return asHandle<HDC>(objects.add(std::move(dc)));
}

}  // namespace

HDC createWindowDc(std::shared_ptr<Surface> surface, POINT origin, const RECT& clip) {
    auto dc = std::make_unique<DeviceContextObject>();
    dc->isWindowDc = true;
    dc->windowSurface = std::move(surface);
    dc->windowOrigin = origin;
    dc->windowClip = clip;
    return newDc(std::move(dc));
}

bool isWindowDc(HDC dc) {
    const DeviceContextObject* object = GdiObjects::instance().findDc(dc);
    return object != nullptr && object->isWindowDc;
}

bool deleteWindowDc(HDC dc) { return isWindowDc(dc) && GdiObjects::instance().destroyDc(dc); }

}  // namespace win32subset

using win32subset::DeviceContextObject;
using win32subset::GdiKind;
using win32subset::GdiObjects;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc != nullptr && GdiObjects::instance().findDc(hdc) == nullptr) return nullptr;
    auto dc = std::make_unique<DeviceContextObject>();
    dc->bitmap = GdiObjects::instance().defaultBitmap();  // 1×1 monochrome, as on Windows
    return win32subset::newDc(std::move(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) { return GdiObjects::instance().destroyDc(hdc) ? TRUE : FALSE; }

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32)) return nullptr;
    HBITMAP bitmap = win32subset::newBitmap(nWidth, nHeight, nBitCount == 1);
    win32subset::BitmapObject* object = GdiObjects::instance().findBitmap(bitmap);
    if (object != nullptr && !object->stock && lpBits != nullptr) {
        win32subset::loadBits(object->surface, static_cast<const BYTE*>(lpBits));
    }
    return bitmap;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    GdiObjects& objects = GdiObjects::instance();
    const DeviceContextObject* dc = objects.findDc(hdc);
    if (dc == nullptr) return nullptr;
    // A memory DC's bitmap sets the format; window DCs are colour.
    bool monochrome = false;
    if (!dc->isWindowDc) {
        const win32subset::BitmapObject* selected = objects.findBitmap(dc->bitmap);
        monochrome = selected != nullptr && selected->surface.monochrome;
    }
    return win32subset::newBitmap(cx, cy, monochrome);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    GdiObjects& objects = GdiObjects::instance();
    DeviceContextObject* dc = objects.findDc(hdc);
    GdiKind kind;
    if (dc == nullptr || !objects.kindOf(h, &kind)) return nullptr;
    switch (kind) {
        case GdiKind::bitmap: return win32subset::selectBitmap(*dc, static_cast<HBITMAP>(h));
        case GdiKind::pen: return win32subset::swapSelection(dc->pen, static_cast<HPEN>(h));
        case GdiKind::brush: return win32subset::swapSelection(dc->brush, static_cast<HBRUSH>(h));
        case GdiKind::font: return win32subset::swapSelection(dc->font, static_cast<HFONT>(h));
        case GdiKind::deviceContext: break;
    }
    return nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    const DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return nullptr;
    switch (type) {
        case OBJ_PEN: return dc->pen;
        case OBJ_BRUSH: return dc->brush;
        case OBJ_FONT: return dc->font;
        case OBJ_BITMAP: return dc->isWindowDc ? nullptr : dc->bitmap;
        default: return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) { return GdiObjects::instance().destroy(ho) ? TRUE : FALSE; }

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    GdiObjects& objects = GdiObjects::instance();
    GdiKind kind;
    if (!objects.kindOf(h, &kind)) return 0;
    switch (kind) {
        case GdiKind::bitmap: {
            const win32subset::Surface& surface = objects.findBitmap(static_cast<HBITMAP>(h))->surface;
            BITMAP description;
            description.bmType = 0;
            description.bmWidth = surface.width;
            description.bmHeight = surface.height;
            description.bmPlanes = 1;
            description.bmBitsPixel = surface.monochrome ? 1 : 32;
            description.bmWidthBytes = win32subset::rowBytes(surface.width, description.bmBitsPixel);
            description.bmBits = nullptr;
            return win32subset::describe(description, c, pv);
        }
        case GdiKind::pen: return win32subset::describe(objects.findPen(static_cast<HPEN>(h))->logPen, c, pv);
        case GdiKind::brush: return win32subset::describe(objects.findBrush(static_cast<HBRUSH>(h))->logBrush, c, pv);
        case GdiKind::font: return win32subset::describe(objects.findFont(static_cast<HFONT>(h))->logFont, c, pv);
        case GdiKind::deviceContext: break;
    }
    return 0;
}

HGDIOBJ WINAPI GetStockObject(int i) { return GdiObjects::instance().stockObject(i); }

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
    if (plpen == nullptr) return nullptr;
    if (plpen->lopnStyle != PS_SOLID && plpen->lopnStyle != PS_DOT && plpen->lopnStyle != PS_NULL) return nullptr;
    return static_cast<HPEN>(GdiObjects::instance().add(std::make_unique<win32subset::PenObject>(*plpen)));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
    if (plbrush == nullptr || (plbrush->lbStyle != BS_SOLID && plbrush->lbStyle != BS_NULL)) return nullptr;
    return static_cast<HBRUSH>(GdiObjects::instance().add(std::make_unique<win32subset::BrushObject>(*plbrush)));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
    if (lplf == nullptr) return nullptr;
    LOGFONTA font = *lplf;
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(GdiObjects::instance().add(std::make_unique<win32subset::FontObject>(font)));
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    return nIndex == COLOR_BTNFACE ? GdiObjects::instance().buttonFaceBrush() : nullptr;
}

namespace {

// Stores one of the DC's colours and answers the previous one.
COLORREF exchangeColor(HDC hdc, COLORREF DeviceContextObject::*field, COLORREF color) {
    DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr) return CLR_INVALID;
    return std::exchange(dc->*field, color & 0x00FFFFFF);
}

}  // namespace

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return exchangeColor(hdc, &DeviceContextObject::backgroundColor, color);
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->backgroundMode, mode);
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return exchangeColor(hdc, &DeviceContextObject::textColor, color);
}

int WINAPI SetMapMode(HDC hdc, int iMode) {
    DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr || iMode != MM_TEXT) return 0;  // only MM_TEXT exists here
    return std::exchange(dc->mapMode, iMode);
}

int WINAPI GetMapMode(HDC hdc) {
    const DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    return dc != nullptr ? dc->mapMode : 0;
}

BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c) {
    // MM_TEXT with both origins at 0: device and logical units coincide.
    if (GdiObjects::instance().findDc(hdc) == nullptr || (lppt == nullptr && c > 0)) return FALSE;
    return TRUE;
}
