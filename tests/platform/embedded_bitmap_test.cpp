// Bitmap resources: LoadBitmapA by number. A number without a resource gives
// null everywhere; the embedded BMP files exist only in our own subset.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32.h"
#if !defined(_WIN32)
#include "platform/gdi/embedded_bitmaps.h"
#endif

namespace {

TEST(EmbeddedBitmap, AMissingNumberGivesNull) { EXPECT_EQ(nullptr, LoadBitmapA(nullptr, MAKEINTRESOURCEA(4711))); }

#if !defined(_WIN32)

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A BMP file: headers, palette (BGRX quads) and rows as given (bottom row first
// for a positive height).
std::vector<unsigned char> bmpFile(int width, int height, int bits, const std::vector<unsigned char>& palette,
                                   const std::vector<unsigned char>& rows) {
    std::vector<unsigned char> file = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size());
    put32(file, offset + static_cast<std::uint32_t>(rows.size()));
    put32(file, 0);
    put32(file, offset);
    put32(file, 40);
    put32(file, static_cast<std::uint32_t>(width));
    put32(file, static_cast<std::uint32_t>(height));
    put16(file, 1);
    put16(file, static_cast<std::uint32_t>(bits));
    put32(file, 0);  // BI_RGB
    put32(file, static_cast<std::uint32_t>(rows.size()));
    put32(file, 2835);
    put32(file, 2835);
    put32(file, static_cast<std::uint32_t>(palette.size() / 4));
    put32(file, 0);
    file.insert(file.end(), palette.begin(), palette.end());
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

// Reads pixel (x, y) of a loaded bitmap through a memory DC.
COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return color;
}

TEST(EmbeddedBitmap, EightBitPaletteImagesLoadBottomUpAsColourBitmaps) {
    // Palette: 0 red, 1 green, 2 blue. Rows of 3 pixels padded to 4 bytes.
    static const std::vector<unsigned char> file =
        bmpFile(3, 2, 8, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}, {2, 2, 1, 0, /* top: */ 0, 1, 2, 0});
    registerEmbeddedBitmap(901, file.data(), file.size());
    HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(901));
    ASSERT_NE(nullptr, bitmap);
    BITMAP description;
    ASSERT_EQ(static_cast<int>(sizeof(description)), GetObjectA(bitmap, sizeof(description), &description));
    EXPECT_EQ(3, description.bmWidth);
    EXPECT_EQ(2, description.bmHeight);
    EXPECT_EQ(32, description.bmBitsPixel);
    EXPECT_EQ(RGB(255, 0, 0), pixelOf(bitmap, 0, 0));
    EXPECT_EQ(RGB(0, 255, 0), pixelOf(bitmap, 1, 0));
    EXPECT_EQ(RGB(0, 0, 255), pixelOf(bitmap, 2, 0));
    EXPECT_EQ(RGB(0, 0, 255), pixelOf(bitmap, 0, 1));
    EXPECT_EQ(RGB(0, 255, 0), pixelOf(bitmap, 2, 1));
    DeleteObject(bitmap);
}

TEST(EmbeddedBitmap, TwentyFourBitImagesLoadWithTheirRowPadding) {
    // Two pixels a row (6 bytes, padded to 8), one row, BGR order.
    static const std::vector<unsigned char> file = bmpFile(2, 1, 24, {}, {10, 20, 30, 40, 50, 60, 0, 0});
    registerEmbeddedBitmap(902, file.data(), file.size());
    HBITMAP first = LoadBitmapA(nullptr, MAKEINTRESOURCEA(902));
    HBITMAP second = LoadBitmapA(nullptr, MAKEINTRESOURCEA(902));
    ASSERT_NE(nullptr, first);
    EXPECT_NE(first, second);  // each load is a bitmap of its own
    EXPECT_EQ(RGB(30, 20, 10), pixelOf(first, 0, 0));
    EXPECT_EQ(RGB(60, 50, 40), pixelOf(first, 1, 0));
    DeleteObject(first);
    DeleteObject(second);
}

TEST(EmbeddedBitmap, FilesThatAreNotWholeGiveNull) {
    static const std::vector<unsigned char> whole = bmpFile(2, 2, 24, {}, std::vector<unsigned char>(16, 0));
    static const std::vector<unsigned char> truncated(whole.begin(), whole.end() - 1);
    static std::vector<unsigned char> fourBit = whole;
    fourBit[28] = 4;  // bits per pixel
    registerEmbeddedBitmap(903, truncated.data(), truncated.size());
    registerEmbeddedBitmap(904, fourBit.data(), fourBit.size());
    registerEmbeddedBitmap(905, whole.data(), 10);
    EXPECT_EQ(nullptr, LoadBitmapA(nullptr, MAKEINTRESOURCEA(903)));
    EXPECT_EQ(nullptr, LoadBitmapA(nullptr, MAKEINTRESOURCEA(904)));
    EXPECT_EQ(nullptr, LoadBitmapA(nullptr, MAKEINTRESOURCEA(905)));
    EXPECT_EQ(nullptr, LoadBitmapA(nullptr, "Named"));
    registerEmbeddedBitmap(905, whole.data(), whole.size());  // a later registration replaces
    HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(905));
    EXPECT_NE(nullptr, bitmap);
    DeleteObject(bitmap);
}

#endif

}  // namespace
