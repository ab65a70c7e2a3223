// Block transfers between device contexts and reading a bitmap's pixels as a
// DIB: GDI's clipping and its rules for copying between colour and
// monochrome surfaces, above the blit kernel.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/pixel_kernels.h"

namespace win32subset {

namespace {

bool rasterOpOf(DWORD rop, RasterOp* op) {
    switch (rop) {
        case SRCCOPY: *op = RasterOp::sourceCopy; return true;
        case SRCAND: *op = RasterOp::sourceAnd; return true;
        case SRCPAINT: *op = RasterOp::sourcePaint; return true;
        case NOTSRCCOPY: *op = RasterOp::notSourceCopy; return true;
        default: return false;
    }
}

// Colour to monochrome: the source DC's background colour becomes 1 (white),
// every other colour 0. Monochrome to colour: 1 takes the destination DC's
// background colour, 0 its text colour.
PixelConversion conversionBetween(const DeviceContextObject& dest, const Surface& destSurface,
                                  const DeviceContextObject& source, const Surface& sourceSurface) {
    PixelConversion conversion;
    if (!sourceSurface.monochrome && destSurface.monochrome) {
        conversion.kind = PixelConversion::Kind::colorToMono;
        conversion.monoKey = pixelFromColor(source.backgroundColor, false);
    } else if (sourceSurface.monochrome && !destSurface.monochrome) {
        conversion.kind = PixelConversion::Kind::monoToColor;
        conversion.colorForOne = pixelFromColor(dest.backgroundColor, false);
        conversion.colorForZero = pixelFromColor(dest.textColor, false);
    }
    return conversion;
}

// Shrinks the block (x, y, width, height) to the part inside clip, moving the
// other rectangle's corner (otherX, otherY) along with it.
bool clipBlock(const RECT& clip, int& x, int& y, int& width, int& height, int& otherX, int& otherY) {
    const int left = std::max<int>(x, clip.left);
    const int top = std::max<int>(y, clip.top);
    const int right = std::min<int>(x + width, clip.right);
    const int bottom = std::min<int>(y + height, clip.bottom);
    if (right <= left || bottom <= top) return false;
    otherX += left - x;
    otherY += top - y;
    x = left;
    y = top;
    width = right - left;
    height = bottom - top;
    return true;
}

void writeDibPixel(BYTE* out, COLORREF color) {
    out[0] = GetBValue(color);
    out[1] = GetGValue(color);
    out[2] = GetRValue(color);
    out[3] = 0;
}

}  // namespace

}  // namespace win32subset

using win32subset::GdiObjects;

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    GdiObjects& objects = GdiObjects::instance();
    win32subset::DeviceContextObject* dest = objects.findDc(hdc);
    win32subset::DeviceContextObject* source = objects.findDc(hdcSrc);
    win32subset::RasterOp op;
    if (dest == nullptr || source == nullptr || !win32subset::rasterOpOf(rop, &op)) return FALSE;
    if (cx <= 0 || cy <= 0) return TRUE;
    const win32subset::DrawTarget to = objects.targetOf(*dest);
    const win32subset::DrawTarget from = objects.targetOf(*source);
    if (to.surface == nullptr || from.surface == nullptr) return TRUE;

    // Only what the source has and the destination shows is transferred.
    if (!win32subset::clipBlock(from.clip, x1, y1, cx, cy, x, y)) return TRUE;
    if (!win32subset::clipBlock(to.clip, x, y, cx, cy, x1, y1)) return TRUE;
    win32subset::blitRows(*to.surface, x + to.origin.x, y + to.origin.y, cx, cy, *from.surface, x1 + from.origin.x,
                          y1 + from.origin.y, op,
                          win32subset::conversionBetween(*dest, *to.surface, *source, *from.surface));
    return TRUE;
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
    GdiObjects& objects = GdiObjects::instance();
    const win32subset::BitmapObject* bitmap = objects.findBitmap(hbm);
    if (objects.findDc(hdc) == nullptr || bitmap == nullptr || lpbmi == nullptr) return 0;
    BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || usage != DIB_RGB_COLORS) return 0;
    const win32subset::Surface& surface = bitmap->surface;

    if (lpvBits == nullptr && header.biBitCount == 0) {  // describe the bitmap
        header.biWidth = surface.width;
        header.biHeight = surface.height;
        header.biPlanes = 1;
        header.biBitCount = surface.monochrome ? 1 : 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(((surface.width * header.biBitCount + 31) / 32) * 4 * surface.height);
        return surface.height;
    }
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth <= 0) return 0;

    const int dibHeight = std::abs(header.biHeight);
    const bool topDown = header.biHeight < 0;
    const std::size_t stride = static_cast<std::size_t>(header.biWidth) * 4;
    const int columns = std::min<int>(header.biWidth, surface.width);
    const long long end = std::min<long long>(static_cast<long long>(start) + cLines, dibHeight);
    int copied = 0;
    for (long long line = start; line < end; ++line) {
        const long long row = topDown ? line : surface.height - 1 - line;
        if (row < 0 || row >= surface.height) continue;
        ++copied;
        if (lpvBits == nullptr) continue;
        BYTE* out = static_cast<BYTE*>(lpvBits) + static_cast<std::size_t>(line - start) * stride;
        std::memset(out, 0, stride);
        for (int x = 0; x < columns; ++x) {
            win32subset::writeDibPixel(
                out + 4 * x, win32subset::colorFromPixel(surface.at(x, static_cast<int>(row)), surface.monochrome));
        }
    }
    return copied;
}
