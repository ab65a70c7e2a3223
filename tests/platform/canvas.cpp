#include "tests/platform/canvas.h"

#include <algorithm>
#include <cstring>
#include <sstream>

Canvas::Canvas(int width, int height) : width(width), height(height) {
    HDC screen = GetDC(nullptr);
    memoryDc = CreateCompatibleDC(screen);
    image = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previousBitmap = SelectObject(memoryDc, image);
    clear(RGB(255, 255, 255));
}

Canvas::~Canvas() {
    SelectObject(memoryDc, previousBitmap);
    DeleteObject(image);
    DeleteDC(memoryDc);
}

void Canvas::clear(COLORREF color) {
    LOGBRUSH style{BS_SOLID, color, 0};
    HBRUSH brush = CreateBrushIndirect(&style);
    const RECT all{0, 0, width, height};
    FillRect(memoryDc, &all, brush);
    DeleteObject(brush);
}

std::vector<std::string> Canvas::picture(COLORREF ink, COLORREF paper) const {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = at(x, y);
            row += c == ink ? '#' : c == paper ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::string describeDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    std::ostringstream text;
    text << "expected | actual\n";
    const std::size_t rows = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string e = i < expected.size() ? expected[i] : "";
        const std::string a = i < actual.size() ? actual[i] : "";
        text << e << " | " << a << (e == a ? "" : "   <") << "\n";
    }
    return text.str();
}

RECT inkBounds(const Canvas& canvas, int width, int height, COLORREF paper) {
    RECT bounds{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (canvas.at(x, y) == paper) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.right == 0) bounds = {0, 0, 0, 0};
    return bounds;
}

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
