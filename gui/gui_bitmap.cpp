#include "gui/gui_bitmap.h"

#include <cstdint>

#include "frame/plugin_entry.h"
#include "gui/image_scaler.h"

namespace {

// The image's size from its description, in the logical units of dc (the
// device context the image is selected into).
POINT logicalSize(HDC dc, HBITMAP image) {
    BITMAP description;
    POINT size;
    size.x = 0;
    size.y = 0;
    if (GetObjectA(image, sizeof(description), &description) != 0) {
        size.x = description.bmWidth;
        size.y = description.bmHeight;
    }
    DPtoLP(dc, &size, 1);
    return size;
}

LPCSTR resourceName(std::int32_t resourceId) {
    // A resource number travels in the low word of the name pointer.
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(resourceId) & 0xFFFFu));
}

}  // namespace

GuiBitmap::GuiBitmap(std::int32_t resourceId) : resourceId(resourceId) {
    bitmap = LoadBitmapA(static_cast<HINSTANCE>(moduleHandle), resourceName(resourceId));
    readSize();
}

GuiBitmap::GuiBitmap(HBITMAP image) : resourceId(0), bitmap(image) { readSize(); }

GuiBitmap::~GuiBitmap() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (mask != nullptr) DeleteObject(mask);
    forget(scaledCopy);
    forget(keyedCopy);
}

void GuiBitmap::forget(ScaledCopy& copy) {
    if (copy.image != nullptr) DeleteObject(copy.image);
    if (copy.mask != nullptr) DeleteObject(copy.mask);
    copy = ScaledCopy{};
}

HBITMAP GuiBitmap::imageFor(DrawContext& context) {
    const DeviceScale& scale = context.getScale();
    if (scale.isOne()) return bitmap;
    if (scaledCopy.image == nullptr || scaledCopy.scale.factor() != scale.factor()) {
        forget(scaledCopy);
        scaledCopy.scale = scale;
        scaledCopy.image = ImageScaler::scaled(context.getDeviceContext(), bitmap, scale);
    }
    return scaledCopy.image;
}

const GuiBitmap::ScaledCopy& GuiBitmap::keyedImageFor(DrawContext& context) {
    const DeviceScale& scale = context.getScale();
    HDC target = context.getDeviceContext();
    if (scale.isOne()) {
        if (mask == nullptr) mask = createMask(target, bitmap, colorTransparent);
        keyedAtOne = {scale, bitmap, mask};
        return keyedAtOne;
    }
    if (keyedCopy.image == nullptr || keyedCopy.scale.factor() != scale.factor()) {
        forget(keyedCopy);
        keyedCopy.scale = scale;
        keyedCopy.image = ImageScaler::scaledKeepingKey(target, bitmap, scale, colorTransparent);
        if (keyedCopy.image != nullptr) keyedCopy.mask = createMask(target, keyedCopy.image, colorTransparent);
    }
    return keyedCopy;
}

void GuiBitmap::readSize() {
    BITMAP description;
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof(description), &description) != 0) {
        width = description.bmWidth;
        height = description.bmHeight;
    }
}

void GuiBitmap::release() {
    if (--referenceCount == 0) delete this;
}

void GuiBitmap::draw(DrawContext& context, const GuiRect& layoutRect, const GuiPoint& layoutOffset) {
    if (bitmap == nullptr) return;
    HBITMAP image = imageFor(context);
    if (image == nullptr) return;
    const GuiRect rect = context.getScale().toDevice(layoutRect);
    const GuiPoint offset = context.getScale().toDevice(layoutOffset);
    HDC target = context.getDeviceContext();
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, image);
    BitBlt(target, rect.left, rect.top, rect.width(), rect.height(), source, offset.h, offset.v, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void GuiBitmap::drawTransparent(DrawContext& context, const GuiRect& rect, const GuiPoint& offset) {
    if (bitmap == nullptr) return;
    const ScaledCopy& keyed = keyedImageFor(context);
    if (keyed.image == nullptr) return;
    drawKeyed(context.getDeviceContext(), keyed.image, keyed.mask, context.getScale().toDevice(rect),
              context.getScale().toDevice(offset));
}

void GuiBitmap::drawKeyed(HDC target, HBITMAP image, HBITMAP mask, const GuiRect& rect, const GuiPoint& offset) {
    const int x = rect.left + offset.h;
    const int y = rect.top + offset.v;
    HDC sourceDc = CreateCompatibleDC(target);
    HGDIOBJ sourcePrevious = SelectObject(sourceDc, image);
    const POINT size = logicalSize(sourceDc, image);
    const int w = size.x;
    const int h = size.y;

    HDC backDc = CreateCompatibleDC(target);
    HDC objectDc = CreateCompatibleDC(target);
    HDC workDc = CreateCompatibleDC(target);
    HDC saveDc = CreateCompatibleDC(target);
    HBITMAP backBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ backPrevious = SelectObject(backDc, backBitmap);
    HGDIOBJ objectPrevious = SelectObject(objectDc, mask);
    HBITMAP workBitmap = CreateCompatibleBitmap(target, w, h);
    HBITMAP saveBitmap = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ workPrevious = SelectObject(workDc, workBitmap);
    HGDIOBJ savePrevious = SelectObject(saveDc, saveBitmap);

    BitBlt(saveDc, 0, 0, w, h, sourceDc, 0, 0, SRCCOPY);     // keep the image
    BitBlt(backDc, 0, 0, w, h, objectDc, 0, 0, NOTSRCCOPY);  // inverse mask: 1 where the image shows
    BitBlt(workDc, 0, 0, w, h, target, x, y, SRCCOPY);       // the background now
    BitBlt(workDc, 0, 0, w, h, objectDc, 0, 0, SRCAND);      // background only where the key colour is
    BitBlt(sourceDc, 0, 0, w, h, backDc, 0, 0, SRCAND);      // image blackened where the key colour is
    BitBlt(workDc, 0, 0, w, h, sourceDc, 0, 0, SRCPAINT);    // image over background
    BitBlt(target, x, y, rect.width(), rect.height(), workDc, offset.h, offset.v, SRCCOPY);
    BitBlt(sourceDc, 0, 0, w, h, saveDc, 0, 0, SRCCOPY);  // the image restored

    SelectObject(backDc, backPrevious);
    SelectObject(objectDc, objectPrevious);
    SelectObject(workDc, workPrevious);
    SelectObject(saveDc, savePrevious);
    SelectObject(sourceDc, sourcePrevious);
    DeleteObject(backBitmap);
    DeleteObject(workBitmap);
    DeleteObject(saveBitmap);
    DeleteDC(backDc);
    DeleteDC(objectDc);
    DeleteDC(workDc);
    DeleteDC(saveDc);
    DeleteDC(sourceDc);
}

HBITMAP GuiBitmap::createMask(HDC context, HBITMAP image, const GuiColor& keyColor) {
    HDC imageDc = CreateCompatibleDC(context);
    HGDIOBJ imagePrevious = SelectObject(imageDc, image);
    const POINT size = logicalSize(imageDc, image);

    HDC maskDc = CreateCompatibleDC(context);
    HBITMAP mask = CreateBitmap(size.x, size.y, 1, 1, nullptr);
    HGDIOBJ maskPrevious = SelectObject(maskDc, mask);
    SetMapMode(imageDc, GetMapMode(context));
    // Colour to monochrome: the source's background colour becomes 1, every other colour 0.
    COLORREF previousBackground = SetBkColor(imageDc, static_cast<COLORREF>(keyColor.toColorRef()));
    BitBlt(maskDc, 0, 0, size.x, size.y, imageDc, 0, 0, SRCCOPY);
    SetBkColor(imageDc, previousBackground);

    SelectObject(maskDc, maskPrevious);
    SelectObject(imageDc, imagePrevious);
    DeleteDC(maskDc);
    DeleteDC(imageDc);
    return mask;
}
