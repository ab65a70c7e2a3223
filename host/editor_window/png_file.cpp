#include "host/editor_window/png_file.h"

#include <stdexcept>

#include "host/audio/pending_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

void writePng(const RgbaImage& image, const std::string& path) {
    PendingFile file(path);
    if (stbi_write_png(file.temporaryPath().c_str(), image.width, image.height, 4, image.bytes.data(),
                       image.width * 4) == 0)
        throw std::runtime_error("cannot write " + path);
    file.commit();
}
