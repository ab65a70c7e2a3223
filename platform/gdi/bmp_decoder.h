// Reads a BMP file (8 bits with a palette, or 24 bits; uncompressed) into a
// colour surface, as LoadBitmapA makes a device-dependent bitmap of the
// screen's format from a bitmap resource.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/gdi/surface.h"

namespace win32subset {

// Null for anything that is not such a file or does not hold all its pixels.
std::unique_ptr<Surface> decodeBmp(const unsigned char* data, std::size_t size);

}  // namespace win32subset
