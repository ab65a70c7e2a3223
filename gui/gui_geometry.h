// Points and rectangles in pixels of the window's client area: h grows to the
// right, v grows downwards.
#pragma once

#include <cstdint>

struct GuiRect;

// Laid out like the Windows POINT, so point arrays go to GDI unchanged.
struct GuiPoint {
    std::int32_t h = 0;
    std::int32_t v = 0;

    GuiPoint() = default;
    GuiPoint(std::int32_t h, std::int32_t v) : h(h), v(v) {}

    void set(std::int32_t newH, std::int32_t newV) {
        h = newH;
        v = newV;
    }
    // All four edges count as inside, as for a view's hit test.
    bool isInside(const GuiRect& rect) const;
};

// Outlines and hit tests include the right column and the bottom row; fills
// leave all four edges out.
struct GuiRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    GuiRect() = default;
    GuiRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    // Normalises: left <= right and top <= bottom whatever the order of the corners.
    void set(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        left = x1 < x2 ? x1 : x2;
        right = x1 < x2 ? x2 : x1;
        top = y1 < y2 ? y1 : y2;
        bottom = y1 < y2 ? y2 : y1;
    }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

inline bool GuiPoint::isInside(const GuiRect& rect) const {
    return h >= rect.left && h <= rect.right && v >= rect.top && v <= rect.bottom;
}
