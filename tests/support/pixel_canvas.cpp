#include "tests/support/pixel_canvas.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

PixelCanvas::PixelCanvas(int width, int height, HWND compatibleWith) : widthPixels(width), heightPixels(height) {
    HDC windowDc = GetDC(compatibleWith);
    memoryDc = CreateCompatibleDC(windowDc);
    image = CreateCompatibleBitmap(windowDc, width, height);
    ReleaseDC(compatibleWith, windowDc);
    previousBitmap = SelectObject(memoryDc, image);
    clear(RGB(255, 255, 255));
}

PixelCanvas::~PixelCanvas() {
    SelectObject(memoryDc, previousBitmap);
    DeleteObject(image);
    DeleteDC(memoryDc);
}

void PixelCanvas::clear(COLORREF color) { fill(RECT{0, 0, widthPixels, heightPixels}, color); }

void PixelCanvas::fill(const RECT& area, COLORREF color) {
    LOGBRUSH style{BS_SOLID, color, 0};
    HBRUSH brush = CreateBrushIndirect(&style);
    FillRect(memoryDc, &area, brush);
    DeleteObject(brush);
}

void PixelCanvas::copyWindow(HWND window) {
    HDC windowDc = GetDC(window);
    BitBlt(memoryDc, 0, 0, widthPixels, heightPixels, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
}

std::vector<std::string> PixelCanvas::picture(COLORREF ink, COLORREF paper) const {
    std::vector<std::string> rows;
    for (int y = 0; y < heightPixels; ++y) {
        std::string row;
        for (int x = 0; x < widthPixels; ++x) {
            const COLORREF c = at(x, y);
            row += c == ink ? '#' : c == paper ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

RECT PixelCanvas::inkBounds(COLORREF paper) const {
    RECT bounds{widthPixels, heightPixels, 0, 0};
    for (int y = 0; y < heightPixels; ++y) {
        for (int x = 0; x < widthPixels; ++x) {
            if (at(x, y) == paper) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.right == 0) bounds = {0, 0, 0, 0};
    return bounds;
}

void PixelCanvas::savePpm(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fprintf(file, "P6\n%d %d\n255\n", widthPixels, heightPixels);
    for (int y = 0; y < heightPixels; ++y) {
        for (int x = 0; x < widthPixels; ++x) {
            const COLORREF c = at(x, y);
            const unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    std::fclose(file);
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
