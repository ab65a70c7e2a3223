// Bitmap resources compiled into the library on platforms without Windows
// resources: LoadBitmapA finds them here by number.
#pragma once

#include <cstddef>

// data: the whole BMP file (file header included), kept by the caller for the
// life of the process. A later registration of the same number replaces it.
void registerEmbeddedBitmap(int resourceId, const unsigned char* data, std::size_t size);
