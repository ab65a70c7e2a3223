#include "tests/resources/bmp_image.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
}  // namespace

BmpImage BmpImage::fromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return BmpImage(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

BmpImage::BmpImage(std::vector<std::uint8_t> bytes) : file(std::move(bytes)) { parse(); }

std::uint32_t BmpImage::word(std::size_t at) const {
    if (at + 4 > file.size()) return 0;
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<std::uint32_t>(file[at + 3]) << 24;
}

int BmpImage::half(std::size_t at) const {
    if (at + 2 > file.size()) return 0;
    return file[at] | file[at + 1] << 8;
}

void BmpImage::parse() {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return;
    if (bitsPerPixel() != 8 && bitsPerPixel() != 24) return;
    if (width() <= 0 || storedHeight() == 0) return;
    if (bitsPerPixel() == 8) {
        std::uint32_t count = word(46) == 0 ? 256 : word(46);
        std::size_t at = kFileHeaderSize + infoHeaderSize();
        if (count > 256 || at + 4 * count > file.size()) return;
        for (std::uint32_t i = 0; i < count; ++i, at += 4) colours.push_back({file[at + 2], file[at + 1], file[at]});
    }
    rowStride = (static_cast<std::size_t>(width()) * bitsPerPixel() / 8 + 3) & ~std::size_t{3};
    std::size_t rows = static_cast<std::size_t>(std::abs(storedHeight()));
    valid = pixelOffset() + rowStride * rows <= file.size();
}

Rgb BmpImage::pixel(int x, int y) const {
    if (!valid || x < 0 || y < 0 || x >= width() || y >= std::abs(storedHeight())) std::abort();
    int row = storedHeight() > 0 ? storedHeight() - 1 - y : y;
    std::size_t at = pixelOffset() + rowStride * row + static_cast<std::size_t>(x) * bitsPerPixel() / 8;
    if (bitsPerPixel() == 24) return {file[at + 2], file[at + 1], file[at]};
    std::size_t index = file[at];
    if (index >= colours.size()) std::abort();
    return colours[index];
}

std::string describe(const Rgb& colour) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", colour.red, colour.green, colour.blue);
    return text;
}
