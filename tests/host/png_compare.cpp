// png_compare A.png B.png [--skip-displays] [--skip L,T,R,B]... [--only L,T,R,B] [--scale S]
// Compares two pictures of the same size pixel by pixel (red, green, blue),
// within the --only rectangle if given (else everywhere), leaving out the
// --skip rectangles and, with --skip-displays, the editor's value displays,
// whose text each platform renders in its own font. With --scale the pictures
// are of the editor drawn S times as large, and every rectangle (given at 1x,
// as the layout has them) is scaled to match. Prints how many pixels
// differ and the first few; exits 0 when none do, 1 when some do, 2 on errors.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editor_layout.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

constexpr int kReportedDifferences = 5;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

bool load(const char* path, Picture& picture) {
    int channels = 0;
    unsigned char* data = stbi_load(path, &picture.width, &picture.height, &channels, 4);
    if (data == nullptr) {
        std::fprintf(stderr, "png_compare: cannot read %s: %s\n", path, stbi_failure_reason());
        return false;
    }
    picture.rgba.assign(data, data + static_cast<std::size_t>(picture.width) * picture.height * 4);
    stbi_image_free(data);
    return true;
}

bool parseRect(const char* text, LayoutRect& rect) {
    return std::sscanf(text, "%d,%d,%d,%d", &rect.left, &rect.top, &rect.right, &rect.bottom) == 4 &&
           rect.right > rect.left && rect.bottom > rect.top;
}

// As the editor maps its layout to the device: each edge rounded.
LayoutRect scaled(const LayoutRect& rect, double scale) {
    const auto edge = [scale](int at) { return static_cast<int>(std::lround(at * scale)); };
    return {edge(rect.left), edge(rect.top), edge(rect.right), edge(rect.bottom)};
}

bool inside(const LayoutRect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: png_compare A.png B.png [--skip-displays] [--skip L,T,R,B]... [--only L,T,R,B] "
                     "[--scale S]\n");
        return 2;
    }
    std::vector<LayoutRect> skipped;
    LayoutRect only{0, 0, 1 << 30, 1 << 30};
    bool onlyGiven = false;
    double scale = 1.0;
    for (int i = 3; i < argc; ++i) {
        LayoutRect rect{};
        if (std::strcmp(argv[i], "--skip-displays") == 0) {
            for (const KnobLayout& knob : kKnobLayouts) skipped.push_back(knob.display);
        } else if (std::strcmp(argv[i], "--skip") == 0 && i + 1 < argc && parseRect(argv[i + 1], rect)) {
            skipped.push_back(rect);
            ++i;
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc && parseRect(argv[i + 1], rect)) {
            only = rect;
            onlyGiven = true;
            ++i;
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc &&
                   std::sscanf(argv[i + 1], "%lf", &scale) == 1 && scale > 0.0) {
            ++i;
        } else {
            std::fprintf(stderr, "png_compare: unknown or malformed option %s\n", argv[i]);
            return 2;
        }
    }
    for (LayoutRect& rect : skipped) rect = scaled(rect, scale);
    if (onlyGiven) only = scaled(only, scale);
    Picture a;
    Picture b;
    if (!load(argv[1], a) || !load(argv[2], b)) return 2;
    if (a.width != b.width || a.height != b.height) {
        std::printf("sizes differ: %d x %d and %d x %d\n", a.width, a.height, b.width, b.height);
        return 1;
    }
    long compared = 0;
    long different = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (!inside(only, x, y)) continue;
            bool skip = false;
            for (const LayoutRect& rect : skipped) skip = skip || inside(rect, x, y);
            if (skip) continue;
            ++compared;
            const std::size_t at = (static_cast<std::size_t>(y) * a.width + x) * 4;
            if (std::memcmp(&a.rgba[at], &b.rgba[at], 3) == 0) continue;
            if (++different <= kReportedDifferences)
                std::printf("at %d, %d: %d %d %d and %d %d %d\n", x, y, a.rgba[at], a.rgba[at + 1], a.rgba[at + 2],
                            b.rgba[at], b.rgba[at + 1], b.rgba[at + 2]);
        }
    }
    std::printf("%ld of %ld compared pixels differ\n", different, compared);
    return different == 0 && compared > 0 ? 0 : 1;
}
