// How many device pixels one pixel of the 1x layout takes: the factor the
// frame draws at (1, 1.5 or 2). Views keep their rectangles at 1x; drawing
// maps them to the device and the mouse maps back, so every view behaves at
// any scale as it does at 1x. Coordinates map by rounding each edge, so two
// rectangles that touch at 1x still touch, with no gap and no overlap.
#pragma once

#include <cmath>
#include <cstdint>

#include "gui/gui_geometry.h"

class DeviceScale {
public:
    DeviceScale() = default;
    explicit DeviceScale(float factor) : scaleFactor(factor > 0.0f && std::isfinite(factor) ? factor : 1.0f) {}

    float factor() const { return scaleFactor; }
    bool isOne() const { return scaleFactor == 1.0f; }

    std::int32_t toDevice(std::int32_t layout) const {
        return static_cast<std::int32_t>(std::lround(static_cast<double>(layout) * scaleFactor));
    }
    GuiPoint toDevice(const GuiPoint& point) const { return {toDevice(point.h), toDevice(point.v)}; }
    GuiRect toDevice(const GuiRect& rect) const {
        return {toDevice(rect.left), toDevice(rect.top), toDevice(rect.right), toDevice(rect.bottom)};
    }
    // The layout pixel a device pixel lies in.
    std::int32_t toLayout(std::int32_t device) const {
        return static_cast<std::int32_t>(std::floor(static_cast<double>(device) / scaleFactor));
    }
    GuiPoint toLayout(const GuiPoint& point) const { return {toLayout(point.h), toLayout(point.v)}; }

private:
    float scaleFactor = 1.0f;
};
