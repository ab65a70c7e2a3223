// Copies of a bitmap at another scale, made once each time the frame's scale
// changes, never while painting. Each pixel of a copy averages the area of
// the image it covers: a whole factor repeats pixels exactly, 1.5 blends
// neighbours evenly. With a key colour (the white a knob's handle leaves
// out) a pixel is the key where more than half its area is, and otherwise the
// average of what is not key, so the left-out surround keeps a clean edge and
// no pale fringe.
//
// Window thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/device_scale.h"
#include "gui/gui_color.h"
#include "platform/win32.h"

class ImageScaler {
public:
    // A colour bitmap of the image's size mapped by scale; null when the image
    // cannot be read. The caller owns it. context: any device context of the
    // window the copy will be drawn on.
    static HBITMAP scaled(HDC context, HBITMAP image, const DeviceScale& scale);
    static HBITMAP scaledKeepingKey(HDC context, HBITMAP image, const DeviceScale& scale, const GuiColor& key);

private:
    // One source pixel's share of a destination pixel along one axis.
    struct Share {
        std::int32_t source;
        double weight;
    };
    using Pixels = std::vector<std::uint32_t>;  // 0x00RRGGBB, rows top to bottom

    static HBITMAP scaledImage(HDC context, HBITMAP image, const DeviceScale& scale, const GuiColor* key);
    static bool readPixels(HDC context, HBITMAP image, std::int32_t& width, std::int32_t& height, Pixels& pixels);
    static std::vector<std::vector<Share>> sharesAlong(std::int32_t sourceLength, std::int32_t deviceLength);
    static std::uint32_t averageOf(const Pixels& pixels, std::int32_t width, const std::vector<Share>& columns,
                                   const std::vector<Share>& rows, const GuiColor* key);
};
