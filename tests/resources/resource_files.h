// Where the committed bitmaps are, and which number each one carries.
#pragma once

#include <string>

#include "tests/resources/bmp_image.h"

struct BitmapFile {
    int resourceId;
    const char* name;
};

constexpr BitmapFile kBitmapFiles[] = {
    {193, "face.bmp"}, {194, "toggle.bmp"}, {195, "knob_body.bmp"}, {196, "knob_handle.bmp"}, {197, "credits.bmp"},
};

inline std::string resourcePath(const std::string& name) { return std::string(RP_RESOURCE_DIR) + "/" + name; }

inline BmpImage loadBitmap(const std::string& name) { return BmpImage::fromFile(resourcePath(name)); }

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kField{5, 23, 132};
constexpr Rgb kLavender{203, 205, 231};
constexpr Rgb kCyan{23, 171, 232};
