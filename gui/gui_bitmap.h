// A reference-counted image, loaded from the module's bitmap resources and
// drawn either opaquely or with its pure white pixels left out.
//
// Every holder calls addRef when it stores the bitmap and release when it drops
// it; the creator's reference counts as the first. Window thread only.
//
// Drawn through a context with a scale, the bitmap draws a copy of itself at
// that scale, made at the first drawing after the scale changed and kept
// until it changes again.
#pragma once

#include <cstdint>

#include "gui/draw_context.h"
#include "gui/gui_color.h"
#include "gui/gui_geometry.h"
#include "platform/win32.h"

class GuiBitmap {
public:
    // A resource that does not exist gives a 0 x 0 bitmap that draws nothing.
    explicit GuiBitmap(std::int32_t resourceId);
    // Takes over an image made elsewhere (a drawn or generated one); resource id 0.
    explicit GuiBitmap(HBITMAP image);
    GuiBitmap(const GuiBitmap&) = delete;
    GuiBitmap& operator=(const GuiBitmap&) = delete;

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    std::int32_t getResourceId() const { return resourceId; }
    std::int32_t getReferenceCount() const { return referenceCount; }
    HBITMAP getHandle() const { return bitmap; }
    HBITMAP getMask() const { return mask; }

    void addRef() { ++referenceCount; }
    // The last release destroys the bitmap.
    void release();

    // Copies a block of the rectangle's size, from offset in the image, to the
    // rectangle's top-left corner, all three mapped by the context's scale.
    void draw(DrawContext& context, const GuiRect& rect, const GuiPoint& offset);
    // As draw, but pixels of colorTransparent leave the destination unchanged.
    // Callers pass offset (0, 0) and a rectangle of the image's own size.
    void drawTransparent(DrawContext& context, const GuiRect& rect, const GuiPoint& offset);

    // A monochrome bitmap of the image's size: white (1) where the image has the
    // key colour, black (0) elsewhere. The caller owns it.
    static HBITMAP createMask(HDC context, HBITMAP image, const GuiColor& keyColor);

private:
    // An image and the mask of its key colour, at one scale.
    struct ScaledCopy {
        DeviceScale scale;
        HBITMAP image = nullptr;
        HBITMAP mask = nullptr;
    };

    ~GuiBitmap();
    void readSize();
    // The image to draw at the context's scale: the bitmap itself at 1.
    HBITMAP imageFor(DrawContext& context);
    // The same with the key colour kept and its mask.
    const ScaledCopy& keyedImageFor(DrawContext& context);
    static void forget(ScaledCopy& copy);
    static void drawKeyed(HDC target, HBITMAP image, HBITMAP mask, const GuiRect& deviceRect,
                          const GuiPoint& deviceOffset);

    std::int32_t resourceId;
    HBITMAP bitmap = nullptr;
    HBITMAP mask = nullptr;  // made by the first drawTransparent, kept from then on
    ScaledCopy scaledCopy;   // for draw
    ScaledCopy keyedCopy;    // for drawTransparent
    ScaledCopy keyedAtOne;   // the bitmap and its mask, not owned
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t referenceCount = 1;
};
