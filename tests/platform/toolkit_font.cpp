#include "tests/platform/toolkit_font.h"

#include <cstring>

HFONT createToolkitFont(const char* face, int height) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = -height;
    font.lfWeight = FW_NORMAL;
    font.lfOutPrecision = OUT_STRING_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(font.lfFaceName, face);
    return CreateFontIndirectA(&font);
}
