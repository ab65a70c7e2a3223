// Loading a bitmap resource by number where resources are embedded at build
// time (platform/gdi/embedded_bitmaps.h): only on our own Win32 subset.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gui/draw_context.h"
#include "gui/gui_bitmap.h"
#include "gui_test_support.h"
#include "platform/gdi/embedded_bitmaps.h"

namespace {

void putLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A whole 24-bit BMP file, rows stored bottom-up and padded to four bytes.
std::vector<unsigned char> makeBmpFile(int width, int height, const PixelExpectation& pixelAt) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelOffset = 14 + 40;
    std::vector<unsigned char> file;
    file.push_back('B');
    file.push_back('M');
    putLittleEndian(file, pixelOffset + rowBytes * height, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, pixelOffset, 4);
    putLittleEndian(file, 40, 4);
    putLittleEndian(file, width, 4);
    putLittleEndian(file, height, 4);
    putLittleEndian(file, 1, 2);   // planes
    putLittleEndian(file, 24, 2);  // bits per pixel
    for (int i = 0; i < 6; ++i) putLittleEndian(file, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            GuiColor c = pixelAt(x, y);
            file.push_back(c.blue);
            file.push_back(c.green);
            file.push_back(c.red);
        }
        for (int pad = width * 3; pad < rowBytes; ++pad) file.push_back(0);
    }
    return file;
}

GuiColor quarters(int x, int y) {
    if (y < 2) return x < 3 ? colorRed : colorGreen;
    return x < 3 ? colorBlue : colorYellow;
}

TEST(EmbeddedBitmapTest, ResourceNumberLoadsTheRegisteredImage) {
    static const std::vector<unsigned char> file = makeBmpFile(5, 4, quarters);
    registerEmbeddedBitmap(912, file.data(), file.size());
    HostWindow host;
    GuiCanvas canvas(host, 8, 6, colorMagenta);

    // Only the low 16 bits of the id name the resource.
    GuiBitmap* bitmap = new GuiBitmap(0x10000 + 912);
    EXPECT_EQ(bitmap->getWidth(), 5);
    EXPECT_EQ(bitmap->getHeight(), 4);
    {
        DrawContext context(nullptr, canvas.dc(), nullptr);
        bitmap->draw(context, GuiRect(1, 1, 6, 5), GuiPoint(0, 0));
    }
    bitmap->release();
    EXPECT_TRUE(pixelsMatch(
        canvas, [](int x, int y) { return x >= 1 && x < 6 && y >= 1 && y < 5 ? quarters(x - 1, y - 1) : colorMagenta; },
        "embedded_bitmap"));
}

}  // namespace
