#include <gtest/gtest.h>

#include <algorithm>

#include "tests/resources/resource_files.h"

namespace {

bool hasEntry(const BmpImage& image, Rgb colour) {
    const auto& palette = image.palette();
    return std::find(palette.begin(), palette.end(), colour) != palette.end();
}

int brightness(Rgb c) { return c.red + c.green + c.blue; }

TEST(BitmapFiles, HaveTheSizesDepthsAndPalettesTheEditorLoads) {
    struct Expected {
        const char* name;
        int width, height, bits;
        std::vector<Rgb> paletteEntries;
    };
    const Expected table[] = {
        {"face.bmp", 512, 512, 8, {kField, kLavender, kWhite, kCyan}},
        {"toggle.bmp", 16, 32, 8, {kBlack}},
        {"knob_body.bmp", 24, 24, 8, {kLavender}},
        {"knob_handle.bmp", 12, 12, 24, {}},
        {"credits.bmp", 300, 150, 8, {}},
    };
    for (const auto& expected : table) {
        SCOPED_TRACE(expected.name);
        BmpImage image = loadBitmap(expected.name);
        ASSERT_TRUE(image.isValid());
        EXPECT_EQ(image.fileSizeField(), image.bytes().size());
        EXPECT_EQ(image.infoHeaderSize(), 40u);
        EXPECT_EQ(image.width(), expected.width);
        EXPECT_EQ(image.storedHeight(), expected.height);  // positive: rows stored bottom-up
        EXPECT_EQ(image.planes(), 1);
        EXPECT_EQ(image.bitsPerPixel(), expected.bits);
        EXPECT_EQ(image.compression(), 0u);
        std::size_t stride = (expected.width * expected.bits / 8 + 3) / 4 * 4;
        EXPECT_EQ(image.pixelOffset() + stride * expected.height, image.bytes().size());
        if (expected.bits == 8) {
            EXPECT_EQ(image.pixelOffset(), 14 + 40 + 4 * image.palette().size());
            EXPECT_LE(image.palette().size(), 256u);
        } else {
            EXPECT_EQ(image.pixelOffset(), 14u + 40u);
        }
        for (Rgb colour : expected.paletteEntries) EXPECT_TRUE(hasEntry(image, colour)) << describe(colour);
    }
}

TEST(BitmapFiles, KnobHandleIsALightDotOnTransparentWhite) {
    BmpImage handle = loadBitmap("knob_handle.bmp");
    ASSERT_TRUE(handle.isValid());
    for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}, {5, 0}, {0, 6}}) {
        EXPECT_EQ(handle.pixel(x, y), kWhite) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{5, 5}, {6, 5}, {5, 6}, {6, 6}}) {
        Rgb centre = handle.pixel(x, y);
        EXPECT_FALSE(centre == kWhite) << x << "," << y;
        EXPECT_GT(brightness(centre), 3 * 180) << describe(centre);
    }
}

TEST(BitmapFiles, ToggleShowsDarkGreenOffAboveBrightGreenOnWithBlackBorders) {
    BmpImage toggle = loadBitmap("toggle.bmp");
    ASSERT_TRUE(toggle.isValid());
    for (int top : {0, 16}) {
        SCOPED_TRACE(top);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(toggle.pixel(i, top), kBlack) << i;
            EXPECT_EQ(toggle.pixel(i, top + 15), kBlack) << i;
            EXPECT_EQ(toggle.pixel(0, top + i), kBlack) << i;
            EXPECT_EQ(toggle.pixel(15, top + i), kBlack) << i;
        }
        for (int y = top + 4; y < top + 12; ++y) {
            for (int x = 4; x < 12; ++x) {
                Rgb c = toggle.pixel(x, y);
                EXPECT_GT(c.green, 2 * std::max(c.red, c.blue)) << describe(c);
            }
        }
    }
    Rgb off = toggle.pixel(8, 8);
    Rgb on = toggle.pixel(8, 24);
    EXPECT_LT(off.green, 128) << describe(off);
    EXPECT_GT(on.green, 192) << describe(on);
}

TEST(BitmapFiles, KnobBodyIsADarkSphereOnLavender) {
    BmpImage body = loadBitmap("knob_body.bmp");
    ASSERT_TRUE(body.isValid());
    for (auto [x, y] : {std::pair{0, 0}, {23, 0}, {0, 23}}) EXPECT_EQ(body.pixel(x, y), kLavender) << x << "," << y;
    // Dark across its middle, with the light coming from the upper left.
    for (auto [x, y] : {std::pair{12, 12}, {16, 16}, {8, 16}, {16, 8}}) {
        EXPECT_LT(brightness(body.pixel(x, y)), 3 * 100) << x << "," << y << " " << describe(body.pixel(x, y));
    }
    EXPECT_GT(brightness(body.pixel(8, 8)), brightness(body.pixel(16, 16)));
}

TEST(BitmapFiles, CreditsLieOnASlateBlueField) {
    BmpImage credits = loadBitmap("credits.bmp");
    ASSERT_TRUE(credits.isValid());
    Rgb field = credits.pixel(10, 10);
    for (auto [x, y] : {std::pair{289, 10}, {10, 139}, {289, 139}, {150, 12}}) {
        EXPECT_EQ(credits.pixel(x, y), field) << x << "," << y;
    }
    EXPECT_GT(field.blue, field.red + 40) << describe(field);
    EXPECT_GT(field.blue, field.green + 40) << describe(field);
    EXPECT_GT(brightness(field), 150);
    EXPECT_LT(brightness(field), 450);
    // Text: white letters somewhere along the middle.
    int white = 0;
    for (int y = 20; y < 130; ++y)
        for (int x = 0; x < 300; ++x) white += credits.pixel(x, y) == kWhite;
    EXPECT_GT(white, 100);
}

}  // namespace
