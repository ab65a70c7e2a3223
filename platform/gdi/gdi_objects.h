// The objects behind GDI handles (bitmaps, pens, brushes, fonts, device
// contexts), the table that validates those handles, the stock objects, and
// the rule that an object deleted while selected lives on until deselected.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi/handle_table.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/window_dc.h"
#include "platform/win32.h"

namespace win32subset {

enum class GdiKind { bitmap, pen, brush, font, deviceContext };

struct GdiObject {
    explicit GdiObject(GdiKind kind) : kind(kind) {}
    virtual ~GdiObject() = default;

    GdiKind kind;
    bool stock = false;          // never deleted
    int selections = 0;          // device contexts holding it
    bool deletePending = false;  // DeleteObject came while it was selected
};

struct BitmapObject : GdiObject {
    BitmapObject(int width, int height, bool monochrome)
        : GdiObject(GdiKind::bitmap), surface(width, height, monochrome) {}
    Surface surface;
};

struct PenObject : GdiObject {
    explicit PenObject(const LOGPEN& logPen) : GdiObject(GdiKind::pen), logPen(logPen) {}
    LOGPEN logPen;
};

struct BrushObject : GdiObject {
    explicit BrushObject(const LOGBRUSH& logBrush) : GdiObject(GdiKind::brush), logBrush(logBrush) {}
    LOGBRUSH logBrush;
};

struct FontObject : GdiObject {
    explicit FontObject(const LOGFONTA& logFont) : GdiObject(GdiKind::font), logFont(logFont) {}
    LOGFONTA logFont;
};

// A memory DC draws into the bitmap selected into it; a window DC draws into
// its top-level window's surface, offset to the window's client area and
// clipped to what of it is visible (and, while painting, invalid).
struct DeviceContextObject : GdiObject {
    DeviceContextObject() : GdiObject(GdiKind::deviceContext) {}

    bool isWindowDc = false;
    HBITMAP bitmap = nullptr;                // memory DC
    std::shared_ptr<Surface> windowSurface;  // window DC; null for the screen DC
    POINT windowOrigin{0, 0};                // client (0, 0) in the surface
    RECT windowClip{0, 0, 0, 0};             // in client coordinates

    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    COLORREF backgroundColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int backgroundMode = OPAQUE;
    int mapMode = MM_TEXT;
    POINT position{0, 0};
};

// Where a device context's drawing lands: device (0, 0) is origin in the
// surface, and only the device rectangle clip may change.
struct DrawTarget {
    Surface* surface = nullptr;
    POINT origin{0, 0};
    RECT clip{0, 0, 0, 0};
};

class GdiObjects {
public:
    static GdiObjects& instance();

    HGDIOBJ add(std::unique_ptr<GdiObject> object);
    GdiObject* find(const void* handle, GdiKind kind) const;
    DeviceContextObject* findDc(HDC dc) const;
    BitmapObject* findBitmap(HBITMAP bitmap) const;
    PenObject* findPen(HPEN pen) const;
    BrushObject* findBrush(HBRUSH brush) const;
    FontObject* findFont(HFONT font) const;
    // The kind of a valid handle's object, or false.
    bool kindOf(const void* handle, GdiKind* kind) const;

    HGDIOBJ stockObject(int index) const;
    HBITMAP defaultBitmap() const { return defaultBitmap_; }
    HBRUSH buttonFaceBrush() const { return buttonFaceBrush_; }

    // DeleteObject: frees the object now, or once the last DC deselects it.
    bool destroy(HGDIOBJ handle);
    void noteSelected(HGDIOBJ handle);
    void noteDeselected(HGDIOBJ handle);
    // DeleteDC and ReleaseDC: deselects everything, then frees the DC.
    bool destroyDc(HDC dc);

    DrawTarget targetOf(const DeviceContextObject& dc) const;

private:
    GdiObjects();

    HandleTable<GdiObject> table{0xA};
    HGDIOBJ whiteBrush = nullptr;
    HGDIOBJ nullBrush = nullptr;
    HGDIOBJ blackPen = nullptr;
    HGDIOBJ nullPen = nullptr;
    HGDIOBJ systemFont = nullptr;
    HBITMAP defaultBitmap_ = nullptr;
    HBRUSH buttonFaceBrush_ = nullptr;
};

// Colours as a surface stores them: 0x00RRGGBB, or for monochrome 1 for
// colours nearer white than black.
std::uint32_t pixelFromColor(COLORREF color, bool monochrome);
COLORREF colorFromPixel(std::uint32_t pixel, bool monochrome);

// The button face colour, the one system colour the system uses.
constexpr COLORREF kButtonFaceColor = RGB(240, 240, 240);

}  // namespace win32subset
