// Bitmaps: reference counts, opaque and transparent copies, the mask, and the
// monochrome-to-colour rule those copies rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "gui/draw_context.h"
#include "gui/gui_bitmap.h"
#include "gui_test_support.h"

namespace {

constexpr GuiColor nearWhite{254, 255, 255, 0};

// 12 x 12: a white border two pixels wide around a pattern of colours, one of
// them almost but not quite the key colour.
GuiColor borderedImage(int x, int y) {
    if (x < 2 || y < 2 || x >= 10 || y >= 10) return colorWhite;
    if (x == 5 && y == 5) return nearWhite;
    if (x == 6 && y == 6) return colorWhite;  // a key pixel inside the picture
    switch ((x + y) % 3) {
        case 0: return colorBlack;
        case 1: return colorGreen;
        default: return colorBlue;
    }
}

class GuiBitmapTest : public ::testing::Test {
protected:
    void checkMask(const GuiColor& key);

    HostWindow host;
    GuiCanvas canvas{host, 40, 40, colorRed};
};

bool handleIsLive(HBITMAP handle) {
    BITMAP description;
    return GetObjectA(handle, sizeof(description), &description) != 0;
}

TEST_F(GuiBitmapTest, LastReleaseDestroysTheBitmap) {
    HBITMAP image = makeColorBitmap(host, 8, 6, [](int, int) { return colorGreen; });
    GuiBitmap* bitmap = new GuiBitmap(image);
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_EQ(bitmap->getWidth(), 8);
    EXPECT_EQ(bitmap->getHeight(), 6);
    bitmap->addRef();
    bitmap->addRef();
    bitmap->release();
    bitmap->release();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_TRUE(handleIsLive(image));
    bitmap->release();
    EXPECT_FALSE(handleIsLive(image));
}

TEST_F(GuiBitmapTest, MissingResourceGivesAnEmptyBitmapThatDrawsNothing) {
    useTestModuleHandle();
    GuiBitmap* bitmap = new GuiBitmap(4321);
    EXPECT_EQ(bitmap->getResourceId(), 4321);
    EXPECT_EQ(bitmap->getHandle(), nullptr);
    EXPECT_EQ(bitmap->getWidth(), 0);
    EXPECT_EQ(bitmap->getHeight(), 0);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        bitmap->draw(context, GuiRect(0, 0, 40, 40), GuiPoint(0, 0));
        bitmap->drawTransparent(context, GuiRect(0, 0, 40, 40), GuiPoint(0, 0));
    }
    EXPECT_EQ(bitmap->getMask(), nullptr);
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int, int) { return colorRed; }, "missing_resource"));
    bitmap->release();
}

// Two states stacked vertically; the offset picks the lower one, and only a
// block of the rectangle's size is copied.
TEST_F(GuiBitmapTest, DrawCopiesABlockFromTheOffsetWithoutScaling) {
    GuiBitmap* bitmap =
        new GuiBitmap(makeColorBitmap(host, 10, 20, [](int, int y) { return y < 10 ? colorYellow : colorCyan; }));
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        bitmap->draw(context, GuiRect(5, 7, 15, 12), GuiPoint(0, 10));
    }
    bitmap->release();
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int x, int y) { return x >= 5 && x < 15 && y >= 7 && y < 12 ? colorCyan : colorRed; },
        "draw_offset"));
}

TEST_F(GuiBitmapTest, DrawTransparentLeavesTheKeyColourOut) {
    HBITMAP image = makeColorBitmap(host, 12, 12, borderedImage);
    GuiBitmap* bitmap = new GuiBitmap(image);
    const int left = 9, top = 13;
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        bitmap->drawTransparent(context, GuiRect(left, top, left + 12, top + 12), GuiPoint(0, 0));
        HBITMAP firstMask = bitmap->getMask();
        ASSERT_NE(firstMask, nullptr);
        // A second copy over the first changes nothing and keeps the same mask.
        bitmap->drawTransparent(context, GuiRect(left, top, left + 12, top + 12), GuiPoint(0, 0));
        EXPECT_EQ(bitmap->getMask(), firstMask);
    }
    const PixelExpectation scene = [&](int x, int y) {
        bool onImage = x >= left && x < left + 12 && y >= top && y < top + 12;
        if (!onImage) return colorRed;
        GuiColor source = borderedImage(x - left, y - top);
        return sameColor(source, colorTransparent) ? colorRed : source;
    };
    EXPECT_TRUE(pixelsMatch(canvas, scene, "draw_transparent"));

    // The image itself is as it was.
    canvas.clear(colorMagenta);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        bitmap->draw(context, GuiRect(0, 0, 12, 12), GuiPoint(0, 0));
    }
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int x, int y) { return x < 12 && y < 12 ? borderedImage(x, y) : colorMagenta; },
        "draw_transparent_source_restored"));
    bitmap->release();
}

TEST_F(GuiBitmapTest, MaskIsWhiteExactlyWhereTheImageHasTheKeyColour) {
    for (const GuiColor& key : {colorTransparent, colorGreen}) {
        SCOPED_TRACE("key colour " + describe(key));
        canvas.clear(colorRed);
        checkMask(key);
    }
}

void GuiBitmapTest::checkMask(const GuiColor& key) {
    HBITMAP image = makeColorBitmap(host, 12, 12, borderedImage);
    HBITMAP mask = GuiBitmap::createMask(canvas.dc(), image, key);
    ASSERT_NE(mask, nullptr);
    BITMAP description;
    std::memset(&description, 0, sizeof(description));
    EXPECT_NE(GetObjectA(mask, sizeof(description), &description), 0);
    EXPECT_EQ(description.bmWidth, 12);
    EXPECT_EQ(description.bmHeight, 12);
    EXPECT_EQ(description.bmPlanes, 1);
    EXPECT_EQ(description.bmBitsPixel, 1);

    // Read the mask back through a copy into the canvas: white stays white,
    // black stays black with the canvas's default text and background colours.
    HDC maskDc = CreateCompatibleDC(canvas.dc());
    HGDIOBJ previous = SelectObject(maskDc, mask);
    SetTextColor(canvas.dc(), 0x000000);
    SetBkColor(canvas.dc(), 0xFFFFFF);
    BitBlt(canvas.dc(), 0, 0, 12, 12, maskDc, 0, 0, SRCCOPY);
    SelectObject(maskDc, previous);
    DeleteDC(maskDc);
    DeleteObject(mask);
    DeleteObject(image);
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [&](int x, int y) {
            if (x >= 12 || y >= 12) return colorRed;
            return sameColor(borderedImage(x, y), key) ? colorWhite : colorBlack;
        },
        "mask"));
}

// A monochrome source copied into colour: 0 bits take the destination's text
// colour, 1 bits its background colour.
TEST_F(GuiBitmapTest, MonochromeCopiesTakeTextAndBackgroundColours) {
    const unsigned char rows[2] = {0xB4, 0x00};  // 1011 0100, one row padded to a 16-bit word
    HBITMAP mono = CreateBitmap(8, 1, 1, 1, rows);
    HDC monoDc = CreateCompatibleDC(canvas.dc());
    HGDIOBJ previous = SelectObject(monoDc, mono);
    SetTextColor(canvas.dc(), colorGreen.toColorRef());
    SetBkColor(canvas.dc(), colorBlue.toColorRef());
    BitBlt(canvas.dc(), 4, 3, 8, 1, monoDc, 0, 0, SRCCOPY);
    SelectObject(monoDc, previous);
    DeleteDC(monoDc);
    DeleteObject(mono);
    EXPECT_TRUE(pixelsMatch(
        canvas,
        [&](int x, int y) {
            if (y != 3 || x < 4 || x >= 12) return colorRed;
            bool bitSet = ((rows[0] >> (7 - (x - 4))) & 1) != 0;
            return bitSet ? colorBlue : colorGreen;
        },
        "mono_to_color"));
}

}  // namespace
