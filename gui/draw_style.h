// Small enumerations of the drawing surface: text alignment, line style and
// the mouse and modifier bits of DrawContext::getMouseState.
#pragma once

#include <cstdint>

enum TextAlign : std::int32_t { alignLeft = 0, alignCenter = 1, alignRight = 2 };

enum LineStyle : std::int32_t { lineSolid = 0, lineDotted = 1 };

// The bits held down at the moment of the query, summed.
enum MouseState : std::int32_t {
    mouseLeft = 1,
    mouseMiddle = 2,
    mouseRight = 4,
    keyShift = 8,
    keyControl = 16,
    keyAlt = 32,
};
