// A small colour bitmap in a memory DC for pixel assertions that hold on
// real Win32 and on our own subset alike, with pictures written as text.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return memoryDc; }
    HBITMAP bitmap() const { return image; }
    void clear(COLORREF color);
    COLORREF at(int x, int y) const { return GetPixel(memoryDc, x, y); }
    // One character a pixel: '#' for ink, '.' for paper, '?' for anything else.
    std::vector<std::string> picture(COLORREF ink, COLORREF paper) const;

private:
    int width;
    int height;
    HDC memoryDc;
    HBITMAP image;
    HGDIOBJ previousBitmap;
};

// Prints both pictures when they differ.
std::string describeDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

// The bounding box of the pixels that differ from paper; empty if none.
RECT inkBounds(const Canvas& canvas, int width, int height, COLORREF paper);

// The logical font the toolkit asks for: a face at a character height in pixels.
HFONT createToolkitFont(const char* face, int height);
