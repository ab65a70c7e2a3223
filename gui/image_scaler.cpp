#include "gui/image_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

std::uint32_t keyPixel(const GuiColor& key) {
    return (std::uint32_t{key.red} << 16) | (std::uint32_t{key.green} << 8) | std::uint32_t{key.blue};
}

std::uint8_t channel(std::uint32_t pixel, int shift) { return static_cast<std::uint8_t>((pixel >> shift) & 0xFFu); }

}  // namespace

HBITMAP ImageScaler::scaled(HDC context, HBITMAP image, const DeviceScale& scale) {
    return scaledImage(context, image, scale, nullptr);
}

HBITMAP ImageScaler::scaledKeepingKey(HDC context, HBITMAP image, const DeviceScale& scale, const GuiColor& key) {
    return scaledImage(context, image, scale, &key);
}

bool ImageScaler::readPixels(HDC context, HBITMAP image, std::int32_t& width, std::int32_t& height, Pixels& pixels) {
    BITMAP description;
    if (image == nullptr || GetObjectA(image, sizeof(description), &description) == 0) return false;
    width = description.bmWidth;
    height = description.bmHeight;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    if (GetDIBits(context, image, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
        return false;
    for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;  // blue, green, red in the low bytes
    return true;
}

std::vector<std::vector<ImageScaler::Share>> ImageScaler::sharesAlong(std::int32_t sourceLength,
                                                                      std::int32_t deviceLength) {
    // Device pixel d covers the source interval [d, d + 1) * sourceLength / deviceLength.
    const double step = static_cast<double>(sourceLength) / deviceLength;
    std::vector<std::vector<Share>> shares(static_cast<std::size_t>(deviceLength));
    for (std::int32_t d = 0; d < deviceLength; ++d) {
        const double begin = d * step;
        const double end = std::min<double>(sourceLength, (d + 1) * step);
        for (auto s = static_cast<std::int32_t>(std::floor(begin)); s < end && s < sourceLength; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (covered > 1e-9) shares[static_cast<std::size_t>(d)].push_back({s, covered / step});
        }
    }
    return shares;
}

std::uint32_t ImageScaler::averageOf(const Pixels& pixels, std::int32_t width, const std::vector<Share>& columns,
                                     const std::vector<Share>& rows, const GuiColor* key) {
    double red = 0.0, green = 0.0, blue = 0.0, opaqueWeight = 0.0;
    for (const Share& row : rows) {
        for (const Share& column : columns) {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(row.source) * static_cast<std::size_t>(width) +
                                               static_cast<std::size_t>(column.source)];
            if (key != nullptr && pixel == keyPixel(*key)) continue;
            const double weight = row.weight * column.weight;
            red += weight * channel(pixel, 16);
            green += weight * channel(pixel, 8);
            blue += weight * channel(pixel, 0);
            opaqueWeight += weight;
        }
    }
    // The key only where more than half the area is key; an even split keeps the colour.
    constexpr double kRoundingSlack = 1e-9;
    if (key != nullptr && opaqueWeight < 0.5 - kRoundingSlack) return keyPixel(*key);
    const auto rounded = [&](double sum) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(sum / opaqueWeight), 0L, 255L));
    };
    std::uint32_t average = (rounded(red) << 16) | (rounded(green) << 8) | rounded(blue);
    // An average that happens to equal the key would be left out when drawn.
    if (key != nullptr && average == keyPixel(*key)) average -= 1;
    return average;
}

HBITMAP ImageScaler::scaledImage(HDC context, HBITMAP image, const DeviceScale& scale, const GuiColor* key) {
    std::int32_t width = 0, height = 0;
    Pixels pixels;
    if (!readPixels(context, image, width, height, pixels)) return nullptr;
    const std::int32_t deviceWidth = std::max(1, scale.toDevice(width));
    const std::int32_t deviceHeight = std::max(1, scale.toDevice(height));
    const auto columns = sharesAlong(width, deviceWidth);
    const auto rows = sharesAlong(height, deviceHeight);

    // 32-bit rows of blue, green, red and a spare byte, as CreateBitmap takes them.
    std::vector<std::uint32_t> device(static_cast<std::size_t>(deviceWidth) * static_cast<std::size_t>(deviceHeight));
    for (std::int32_t y = 0; y < deviceHeight; ++y)
        for (std::int32_t x = 0; x < deviceWidth; ++x)
            device[static_cast<std::size_t>(y) * static_cast<std::size_t>(deviceWidth) + static_cast<std::size_t>(x)] =
                averageOf(pixels, width, columns[static_cast<std::size_t>(x)], rows[static_cast<std::size_t>(y)], key);
    return CreateBitmap(deviceWidth, deviceHeight, 1, 32, device.data());
}
