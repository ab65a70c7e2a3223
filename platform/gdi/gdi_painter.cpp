#include "platform/gdi/gdi_painter.h"

#include <algorithm>

#include "platform/gdi/pixel_kernels.h"

namespace win32subset {

void Painter::span(int y, int x0, int x1, std::uint32_t pixel) {
    if (target.surface == nullptr || y < target.clip.top || y >= target.clip.bottom) return;
    x0 = std::max<int>(x0, target.clip.left);
    x1 = std::min<int>(x1, target.clip.right);
    if (x1 <= x0) return;
    fillSpan(*target.surface, y + target.origin.y, x0 + target.origin.x, x1 + target.origin.x, pixel);
}

void Painter::spans(const std::vector<Span>& spans, std::uint32_t pixel) {
    for (const Span& s : spans) span(s.y, s.x0, s.x1, pixel);
}

void Painter::fill(const RECT& rect, std::uint32_t pixel) {
    const int top = std::max<int>(rect.top, target.clip.top);
    const int bottom = std::min<int>(rect.bottom, target.clip.bottom);
    for (int y = top; y < bottom; ++y) span(y, rect.left, rect.right, pixel);
}

void Painter::pixel(int x, int y, std::uint32_t pixel) {
    if (target.surface == nullptr || !isVisible(x, y)) return;
    setPixel(*target.surface, x + target.origin.x, y + target.origin.y, pixel);
}

bool Painter::read(int x, int y, std::uint32_t* pixel) const {
    if (target.surface == nullptr || !isVisible(x, y)) return false;
    *pixel = getPixel(*target.surface, x + target.origin.x, y + target.origin.y);
    return true;
}

}  // namespace win32subset
