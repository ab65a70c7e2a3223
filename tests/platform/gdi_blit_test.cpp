// BitBlt's raster operations and GDI's rules for copying between colour and
// monochrome bitmaps, down to the eight-blit transparency sequence the
// toolkit draws knob handles with.
#include <gtest/gtest.h>

#include "tests/support/pixel_canvas.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A monochrome bitmap in its own memory DC.
class MonoCanvas {
public:
    // rows: '#' for 1 (white), '.' for 0; up to 8 pixels wide.
    explicit MonoCanvas(const std::vector<std::string>& rows) {
        const int width = static_cast<int>(rows[0].size());
        const int height = static_cast<int>(rows.size());
        std::vector<BYTE> bits(2 * rows.size(), 0);  // rows padded to 16 bits
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (rows[y][x] == '#') bits[2 * y] |= static_cast<BYTE>(0x80 >> x);
            }
        }
        image = CreateBitmap(width, height, 1, 1, bits.data());
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, image);
    }
    ~MonoCanvas() {
        SelectObject(dc, previous);
        DeleteObject(image);
        DeleteDC(dc);
    }

    HDC dc;
    HBITMAP image;
    HGDIOBJ previous;
};

void fill(HDC dc, const RECT& area, COLORREF color) {
    LOGBRUSH style{BS_SOLID, color, 0};
    HBRUSH brush = CreateBrushIndirect(&style);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

TEST(GdiBlit, MonochromeToColourTakesTheDestinationsBackgroundAndTextColours) {
    MonoCanvas mask({"#.#.", ".#.#"});
    PixelCanvas canvas(6, 3);
    SetBkColor(canvas.dc(), kBlue);   // what 1 becomes
    SetTextColor(canvas.dc(), kRed);  // what 0 becomes
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 4, 2, mask.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(kBlue, canvas.at(1, 1));
    EXPECT_EQ(kRed, canvas.at(2, 1));
    EXPECT_EQ(kRed, canvas.at(1, 2));
    EXPECT_EQ(kBlue, canvas.at(4, 2));
    EXPECT_EQ(kWhite, canvas.at(0, 0));  // outside the block
    EXPECT_EQ(kWhite, canvas.at(5, 1));
}

TEST(GdiBlit, ColourToMonochromeMakesTheSourcesBackgroundColourWhite) {
    PixelCanvas source(4, 1);
    SetPixel(source.dc(), 0, 0, kGreen);
    SetPixel(source.dc(), 1, 0, kRed);
    SetPixel(source.dc(), 2, 0, kGreen);
    SetPixel(source.dc(), 3, 0, kWhite);  // white is no different from red here
    SetBkColor(source.dc(), kGreen);
    MonoCanvas target({"....", "...."});
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 4, 1, source.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(kWhite, GetPixel(target.dc, 0, 0));
    EXPECT_EQ(kBlack, GetPixel(target.dc, 1, 0));
    EXPECT_EQ(kWhite, GetPixel(target.dc, 2, 0));
    EXPECT_EQ(kBlack, GetPixel(target.dc, 3, 0));
    EXPECT_EQ(kBlack, GetPixel(target.dc, 0, 1));
}

TEST(GdiBlit, RasterOperationsCombineColourBitsAsTheirNamesSay) {
    const COLORREF destination = RGB(0xF0, 0x0F, 0xFF);
    const COLORREF source = RGB(0x3C, 0xC3, 0x55);
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    const Case cases[] = {
        {SRCCOPY, source},
        {SRCAND, RGB(0x30, 0x03, 0x55)},
        {SRCPAINT, RGB(0xFC, 0xCF, 0xFF)},
        {NOTSRCCOPY, RGB(0xC3, 0x3C, 0xAA)},
    };
    PixelCanvas from(1, 1);
    SetPixel(from.dc(), 0, 0, source);
    for (const Case& c : cases) {
        PixelCanvas to(1, 1);
        SetPixel(to.dc(), 0, 0, destination);
        ASSERT_TRUE(BitBlt(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, c.rop));
        EXPECT_EQ(c.expected, to.at(0, 0)) << std::hex << c.rop;
    }
}

TEST(GdiBlit, MonochromeRasterOperationsWorkOnBits) {
    MonoCanvas a({"##..", "...."});
    MonoCanvas b({"#.#.", "...."});
    ASSERT_TRUE(BitBlt(b.dc, 0, 0, 4, 1, a.dc, 0, 0, SRCAND));
    EXPECT_EQ(kWhite, GetPixel(b.dc, 0, 0));
    EXPECT_EQ(kBlack, GetPixel(b.dc, 1, 0));
    EXPECT_EQ(kBlack, GetPixel(b.dc, 2, 0));
    ASSERT_TRUE(BitBlt(b.dc, 0, 1, 4, 1, a.dc, 0, 0, NOTSRCCOPY));
    EXPECT_EQ(kBlack, GetPixel(b.dc, 0, 1));
    EXPECT_EQ(kWhite, GetPixel(b.dc, 3, 1));
}

TEST(GdiBlit, OnlyWhatTheSourceHoldsIsCopied) {
    PixelCanvas source(4, 4);
    source.clear(kBlack);
    PixelCanvas target(8, 8);
    target.clear(kGreen);
    ASSERT_TRUE(BitBlt(target.dc(), 0, 0, 8, 8, source.dc(), -2, -2, SRCCOPY));
    EXPECT_EQ(kBlack, target.at(2, 2));
    EXPECT_EQ(kBlack, target.at(5, 5));
    EXPECT_EQ(kGreen, target.at(1, 1));  // the source has nothing at (-1, -1)
    EXPECT_EQ(kGreen, target.at(6, 6));
    EXPECT_EQ(kGreen, target.at(3, 6));
}

// The toolkit's drawTransparent: a mask from the key colour, then eight
// blits through four memory DCs; the key colour leaves the destination alone.
void drawTransparent(HDC target, HBITMAP image, int width, int height, int x, int y) {
    HDC imageDc = CreateCompatibleDC(target);
    HGDIOBJ imagePrevious = SelectObject(imageDc, image);
    HDC maskDc = CreateCompatibleDC(target);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ maskPrevious = SelectObject(maskDc, mask);
    SetMapMode(imageDc, GetMapMode(target));
    const COLORREF previousBackground = SetBkColor(imageDc, kWhite);
    BitBlt(maskDc, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
    SetBkColor(imageDc, previousBackground);
    SelectObject(maskDc, maskPrevious);
    DeleteDC(maskDc);

    HDC backDc = CreateCompatibleDC(target);
    HDC objectDc = CreateCompatibleDC(target);
    HDC workDc = CreateCompatibleDC(target);
    HDC saveDc = CreateCompatibleDC(target);
    HBITMAP back = CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP work = CreateCompatibleBitmap(target, width, height);
    HBITMAP save = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ backPrevious = SelectObject(backDc, back);
    HGDIOBJ objectPrevious = SelectObject(objectDc, mask);
    HGDIOBJ workPrevious = SelectObject(workDc, work);
    HGDIOBJ savePrevious = SelectObject(saveDc, save);
    BitBlt(saveDc, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
    BitBlt(backDc, 0, 0, width, height, objectDc, 0, 0, NOTSRCCOPY);
    BitBlt(workDc, 0, 0, width, height, target, x, y, SRCCOPY);
    BitBlt(workDc, 0, 0, width, height, objectDc, 0, 0, SRCAND);
    BitBlt(imageDc, 0, 0, width, height, backDc, 0, 0, SRCAND);
    BitBlt(workDc, 0, 0, width, height, imageDc, 0, 0, SRCPAINT);
    BitBlt(target, x, y, width, height, workDc, 0, 0, SRCCOPY);
    BitBlt(imageDc, 0, 0, width, height, saveDc, 0, 0, SRCCOPY);
    SelectObject(backDc, backPrevious);
    SelectObject(objectDc, objectPrevious);
    SelectObject(workDc, workPrevious);
    SelectObject(saveDc, savePrevious);
    SelectObject(imageDc, imagePrevious);
    DeleteObject(back);
    DeleteObject(work);
    DeleteObject(save);
    DeleteObject(mask);
    DeleteDC(backDc);
    DeleteDC(objectDc);
    DeleteDC(workDc);
    DeleteDC(saveDc);
    DeleteDC(imageDc);
}

TEST(GdiBlit, TheMaskSequenceShowsEverythingButTheKeyColour) {
    // A 4 × 4 image: white border, red and green inside.
    PixelCanvas image(4, 4);
    fill(image.dc(), {1, 1, 3, 2}, kRed);
    fill(image.dc(), {1, 2, 3, 3}, kGreen);
    PixelCanvas target(8, 8);
    target.clear(kBlue);
    // The image's bitmap must not be selected anywhere else while it is drawn.
    HBITMAP placeholder = CreateBitmap(1, 1, 1, 1, nullptr);
    SelectObject(image.dc(), placeholder);
    drawTransparent(target.dc(), image.bitmap(), 4, 4, 2, 3);
    SelectObject(image.dc(), image.bitmap());
    DeleteObject(placeholder);

    EXPECT_EQ(kRed, target.at(3, 4));
    EXPECT_EQ(kRed, target.at(4, 4));
    EXPECT_EQ(kGreen, target.at(3, 5));
    EXPECT_EQ(kBlue, target.at(2, 3));  // the white border lets the background through
    EXPECT_EQ(kBlue, target.at(5, 6));
    EXPECT_EQ(kBlue, target.at(1, 1));  // outside the image
    // The image itself is restored.
    EXPECT_EQ(kWhite, image.at(0, 0));
    EXPECT_EQ(kRed, image.at(1, 1));
}

}  // namespace
