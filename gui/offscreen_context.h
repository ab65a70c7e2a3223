// A drawing surface on a bitmap of its own, filled with a background colour,
// that can be copied into another context.
#pragma once

#include <cstdint>

#include "gui/draw_context.h"

class OffscreenContext : public DrawContext {
public:
    // The bitmap is made compatible with the frame's window.
    OffscreenContext(GuiFrame* frame, std::int32_t width, std::int32_t height, const GuiColor& background);
    // Deletes the memory device context, then the bitmap it made.
    ~OffscreenContext() override;

    // Copies a block the size of destinationRect from sourceOffset to the rectangle's top-left corner.
    void copyTo(DrawContext& destination, const GuiRect& destinationRect, const GuiPoint& sourceOffset);

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    GuiColor getBackground() const { return background; }
    HBITMAP getBitmap() const { return bitmap; }

private:
    std::int32_t width;
    std::int32_t height;
    GuiColor background;
    HBITMAP bitmap = nullptr;
    bool ownsBitmap = false;
};
