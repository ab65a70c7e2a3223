#include "platform/gdi/bmp_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace win32subset {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr long long kMaxPixels = 1LL << 26;

std::uint32_t read16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t read32(const unsigned char* p) { return read16(p) | (read16(p + 2) << 16); }
std::uint32_t bgr(const unsigned char* p) { return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]; }

}  // namespace

std::unique_ptr<Surface> decodeBmp(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    const std::uint32_t pixelOffset = read32(data + 10);
    const unsigned char* info = data + kFileHeaderBytes;
    const std::uint32_t infoBytes = read32(info);
    const auto width = static_cast<std::int32_t>(read32(info + 4));
    const auto signedHeight = static_cast<std::int32_t>(read32(info + 8));
    const std::uint32_t bitsPerPixel = read16(info + 14);
    const std::uint32_t compression = read32(info + 16);
    const std::uint32_t colorsUsed = read32(info + 32);
    if (infoBytes < kInfoHeaderBytes || compression != 0 || (bitsPerPixel != 8 && bitsPerPixel != 24)) return nullptr;
    if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return nullptr;
    const int height = std::abs(signedHeight);
    if (static_cast<long long>(width) * height > kMaxPixels) return nullptr;

    // The palette follows the info header.
    const std::size_t paletteOffset = kFileHeaderBytes + infoBytes;
    const std::uint32_t paletteSize = bitsPerPixel == 8 ? (colorsUsed != 0 && colorsUsed < 256 ? colorsUsed : 256) : 0;
    if (paletteOffset + 4ull * paletteSize > size) return nullptr;

    const std::size_t stride = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    if (pixelOffset > size || stride * height > size - pixelOffset) return nullptr;

    std::unique_ptr<Surface> surface;
    try {
        surface = std::make_unique<Surface>(width, height, false);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        const int fileRow = signedHeight > 0 ? height - 1 - y : y;  // bottom-up unless the height is negative
        const unsigned char* row = data + pixelOffset + stride * fileRow;
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            if (bitsPerPixel == 24) {
                pixel = bgr(row + 3 * x);
            } else if (row[x] < paletteSize) {
                pixel = bgr(data + paletteOffset + 4 * row[x]);
            }
            surface->at(x, y) = pixel;
        }
    }
    return surface;
}

}  // namespace win32subset
