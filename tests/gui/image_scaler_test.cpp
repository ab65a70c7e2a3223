// The bitmaps' copies at the frame's scales, read back pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "gui/image_scaler.h"
#include "gui_test_support.h"

namespace {

// The pixels of a bitmap of the given size, read through a canvas.
std::vector<GuiColor> pixelsOf(const HostWindow& host, HBITMAP image, int width, int height) {
    GuiCanvas canvas(host, width, height, colorMagenta);
    HDC source = CreateCompatibleDC(canvas.dc());
    HGDIOBJ previous = SelectObject(source, image);
    BitBlt(canvas.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    std::vector<GuiColor> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(canvas.pixel(x, y));
    return pixels;
}

GuiColor mix(const std::vector<GuiColor>& colors) {
    int red = 0, green = 0, blue = 0;
    for (const GuiColor& c : colors) red += c.red, green += c.green, blue += c.blue;
    const int n = static_cast<int>(colors.size());
    return {static_cast<std::uint8_t>((red + n / 2) / n), static_cast<std::uint8_t>((green + n / 2) / n),
            static_cast<std::uint8_t>((blue + n / 2) / n), 0};
}

class ImageScalerTest : public ::testing::Test {
protected:
    HBITMAP scaled(const std::vector<GuiColor>& pixels, int width, float factor, const GuiColor* key = nullptr) {
        const int height = static_cast<int>(pixels.size()) / width;
        HBITMAP image = makeColorBitmap(host, width, height, [&](int x, int y) { return pixels[y * width + x]; });
        GuiCanvas any(host, 1, 1, colorBlack);
        HBITMAP copy = key != nullptr ? ImageScaler::scaledKeepingKey(any.dc(), image, DeviceScale(factor), *key)
                                      : ImageScaler::scaled(any.dc(), image, DeviceScale(factor));
        DeleteObject(image);
        return copy;
    }

    HostWindow host;
    const GuiColor a{200, 10, 10, 0}, b{10, 200, 10, 0}, c{10, 10, 200, 0}, d{100, 100, 100, 0};
};

TEST_F(ImageScalerTest, TwiceRepeatsEveryPixelExactly) {
    const std::vector<GuiColor> source{a, b, c, d, a, b};  // 3 x 2
    HBITMAP copy = scaled(source, 3, 2.0f);
    ASSERT_NE(copy, nullptr);
    const std::vector<GuiColor> pixels = pixelsOf(host, copy, 6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_PRED2(sameColor, pixels[y * 6 + x], source[(y / 2) * 3 + x / 2]) << x << ", " << y;
    DeleteObject(copy);
}

// 2 x 2 to 3 x 3: each corner is its pixel, each edge's middle the mean of
// its two pixels, the centre the mean of all four.
TEST_F(ImageScalerTest, OneAndAHalfBlendsNeighboursByTheAreaTheyCover) {
    HBITMAP copy = scaled({a, b, c, d}, 2, 1.5f);
    ASSERT_NE(copy, nullptr);
    const std::vector<GuiColor> pixels = pixelsOf(host, copy, 3, 3);
    const GuiColor expected[9] = {a, mix({a, b}), b, mix({a, c}), mix({a, b, c, d}), mix({b, d}), c, mix({c, d}), d};
    for (int i = 0; i < 9; ++i) EXPECT_PRED2(sameColor, pixels[i], expected[i]) << "pixel " << i;
    DeleteObject(copy);
}

// A handle's white surround stays pure white or gives way to the dot: no pale
// blend that would show as a fringe once the white is left out.
TEST_F(ImageScalerTest, TheKeyColourStaysCleanAtOneAndAHalf) {
    const GuiColor white = colorTransparent;
    HBITMAP copy = scaled({white, colorRed, white, white}, 2, 1.5f, &white);
    ASSERT_NE(copy, nullptr);
    const std::vector<GuiColor> pixels = pixelsOf(host, copy, 3, 3);
    const GuiColor expected[9] = {white, colorRed, colorRed, white, white, colorRed, white, white, white};
    for (int i = 0; i < 9; ++i) EXPECT_PRED2(sameColor, pixels[i], expected[i]) << "pixel " << i;
    DeleteObject(copy);
}

}  // namespace
