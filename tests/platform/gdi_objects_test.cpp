// GDI objects and their handles: what a new memory DC holds, what selection
// allows, when a deleted object goes, and how null, stale and wrong-kind
// handles are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/pixel_canvas.h"

namespace {

BITMAP describeBitmap(HGDIOBJ bitmap) {
    BITMAP description;
    std::memset(&description, 0, sizeof(description));
    EXPECT_EQ(static_cast<int>(sizeof(description)), GetObjectA(bitmap, sizeof(description), &description));
    return description;
}

HPEN createPen(UINT style, int width, COLORREF color) {
    LOGPEN description{style, {width, 0}, color};
    return CreatePenIndirect(&description);
}

TEST(GdiObjects, ANewMemoryDcHoldsAOnePixelMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    const BITMAP initial = describeBitmap(GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_EQ(1, initial.bmWidth);
    EXPECT_EQ(1, initial.bmHeight);
    EXPECT_EQ(1, initial.bmBitsPixel);

    // Compatible with a DC holding a monochrome bitmap means monochrome.
    HBITMAP mono = CreateCompatibleBitmap(dc, 5, 3);
    EXPECT_EQ(1, describeBitmap(mono).bmBitsPixel);
    EXPECT_EQ(5, describeBitmap(mono).bmWidth);

    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 4, 2);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(32, describeBitmap(colour).bmBitsPixel);
    EXPECT_EQ(16, describeBitmap(colour).bmWidthBytes);
    HGDIOBJ previous = SelectObject(dc, colour);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), static_cast<HGDIOBJ>(colour));
    HBITMAP alsoColour = CreateCompatibleBitmap(dc, 2, 2);
    EXPECT_EQ(32, describeBitmap(alsoColour).bmBitsPixel);

    SelectObject(dc, previous);
    DeleteObject(alsoColour);
    DeleteObject(colour);
    DeleteObject(mono);
    DeleteDC(dc);
}

TEST(GdiObjects, ANewDcDrawsBlackOnWhiteOpaquely) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(RGB(255, 255, 255), SetBkColor(dc, RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), SetBkColor(dc, RGB(4, 5, 6)));
    EXPECT_EQ(RGB(0, 0, 0), SetTextColor(dc, RGB(7, 8, 9)));
    EXPECT_EQ(OPAQUE, SetBkMode(dc, TRANSPARENT));
    EXPECT_EQ(TRANSPARENT, SetBkMode(dc, OPAQUE));
    EXPECT_EQ(MM_TEXT, GetMapMode(dc));
    EXPECT_EQ(MM_TEXT, SetMapMode(dc, MM_TEXT));
    POINT size{30, 40};
    EXPECT_TRUE(DPtoLP(dc, &size, 1));
    EXPECT_EQ(30, size.x);
    EXPECT_EQ(40, size.y);
    DeleteDC(dc);
}

TEST(GdiObjects, ObjectsDescribeThemselvesAsCreated) {
    HPEN pen = createPen(PS_DOT, 1, RGB(1, 2, 3));
    LOGPEN penDescription;
    ASSERT_EQ(static_cast<int>(sizeof(LOGPEN)), GetObjectA(pen, sizeof(penDescription), &penDescription));
    EXPECT_EQ(static_cast<UINT>(PS_DOT), penDescription.lopnStyle);
    EXPECT_EQ(RGB(1, 2, 3), penDescription.lopnColor);

    LOGBRUSH brushStyle{BS_SOLID, RGB(4, 5, 6), 0};
    HBRUSH brush = CreateBrushIndirect(&brushStyle);
    LOGBRUSH brushDescription;
    ASSERT_EQ(static_cast<int>(sizeof(LOGBRUSH)), GetObjectA(brush, sizeof(brushDescription), &brushDescription));
    EXPECT_EQ(RGB(4, 5, 6), brushDescription.lbColor);

    LOGFONTA fontStyle;
    std::memset(&fontStyle, 0, sizeof(fontStyle));
    fontStyle.lfHeight = -9;
    fontStyle.lfWeight = FW_BOLD;
    std::strcpy(fontStyle.lfFaceName, "Small Fonts");
    HFONT font = CreateFontIndirectA(&fontStyle);
    LOGFONTA fontDescription;
    ASSERT_GT(GetObjectA(font, sizeof(fontDescription), &fontDescription), 0);
    EXPECT_EQ(-9, fontDescription.lfHeight);
    EXPECT_STREQ("Small Fonts", fontDescription.lfFaceName);

    LOGPEN nullPen;
    ASSERT_GT(GetObjectA(GetStockObject(NULL_PEN), sizeof(nullPen), &nullPen), 0);
    EXPECT_EQ(static_cast<UINT>(PS_NULL), nullPen.lopnStyle);

    EXPECT_EQ(static_cast<int>(sizeof(BITMAP)), GetObjectA(CreateBitmap(2, 2, 1, 1, nullptr), 0, nullptr));
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST(GdiObjects, CreateBitmapTakesWordAlignedRowsOfBits) {
    const BYTE bits[] = {0xA0, 0x00, 0x40, 0x00};  // rows "#.#" and ".#."
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 1, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 2, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 0, 1));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 1, 1));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(GdiObjects, ABitmapLivesInOneMemoryDcAtATime) {
    PixelCanvas canvas(2, 2);
    HDC other = CreateCompatibleDC(canvas.dc());
    EXPECT_EQ(nullptr, SelectObject(other, canvas.bitmap()));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(nullptr, SelectObject(screen, canvas.bitmap()));  // nor in a window DC
    ReleaseDC(nullptr, screen);
    DeleteDC(other);
}

TEST(GdiObjects, ASelectedObjectDeletedLivesUntilItIsDeselected) {
    PixelCanvas canvas(4, 4);
    HPEN pen = createPen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(canvas.dc(), pen);
    EXPECT_TRUE(DeleteObject(pen));
    LOGPEN description;
    EXPECT_GT(GetObjectA(pen, sizeof(description), &description), 0);
    MoveToEx(canvas.dc(), 0, 1, nullptr);
    LineTo(canvas.dc(), 3, 1);
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(1, 1));  // still drawing with it
    SelectObject(canvas.dc(), previous);
    EXPECT_EQ(0, GetObjectA(pen, sizeof(description), &description));
}

TEST(GdiObjects, StaleNullAndWrongKindHandlesAreRefused) {
    HDC stale = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(stale));
    HPEN stalePen = createPen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(stalePen));
    HPEN freshPen = createPen(PS_SOLID, 1, 0);  // may reuse the old slot
    HPEN wrongKind = createPen(PS_SOLID, 1, 0);
    HDC penAsDc = reinterpret_cast<HDC>(wrongKind);
    PixelCanvas canvas(2, 2);
    RECT area{0, 0, 1, 1};

    for (HDC bad : {stale, static_cast<HDC>(nullptr), penAsDc}) {
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_FALSE(LineTo(bad, 1, 1));
        EXPECT_FALSE(MoveToEx(bad, 1, 1, nullptr));
        EXPECT_EQ(CLR_INVALID, SetBkColor(bad, 0));
        EXPECT_EQ(CLR_INVALID, GetPixel(bad, 0, 0));
        EXPECT_EQ(0, SetBkMode(bad, OPAQUE));
        EXPECT_EQ(nullptr, SelectObject(bad, GetStockObject(NULL_PEN)));
        EXPECT_EQ(nullptr, GetCurrentObject(bad, OBJ_PEN));
        FillRect(bad, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));  // answers 1 regardless, as USER32 does
        EXPECT_FALSE(BitBlt(bad, 0, 0, 1, 1, canvas.dc(), 0, 0, SRCCOPY));
        EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 1, 1, bad, 0, 0, SRCCOPY));
        EXPECT_FALSE(Ellipse(bad, 0, 0, 2, 2));
        EXPECT_EQ(0, DrawTextA(bad, "x", 1, &area, DT_SINGLELINE));
        EXPECT_EQ(nullptr, CreateCompatibleBitmap(bad, 2, 2));
    }
    EXPECT_EQ(nullptr, CreateCompatibleDC(stale));
    EXPECT_FALSE(DeleteObject(stalePen));
    LOGPEN description;
    EXPECT_EQ(0, GetObjectA(stalePen, sizeof(description), &description));
    EXPECT_EQ(nullptr, SelectObject(canvas.dc(), stalePen));
    EXPECT_EQ(nullptr, SelectObject(canvas.dc(), nullptr));
    EXPECT_EQ(0, GetObjectA(nullptr, sizeof(description), &description));
    DeleteObject(freshPen);
    DeleteObject(wrongKind);
}

}  // namespace
