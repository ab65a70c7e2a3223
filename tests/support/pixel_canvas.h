// A colour bitmap in a memory DC whose pixels tests read back: the one helper
// the platform, toolkit and editor tests share. It calls only Win32, so its
// readings mean the same on our own subset and on real Windows under Wine.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

class PixelCanvas {
public:
    // width x height pixels compatible with the window's DC (the screen's when
    // null), cleared to white.
    PixelCanvas(int width, int height, HWND compatibleWith = nullptr);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return memoryDc; }
    HBITMAP bitmap() const { return image; }
    int width() const { return widthPixels; }
    int height() const { return heightPixels; }

    void clear(COLORREF color);
    void fill(const RECT& area, COLORREF color);  // right and bottom exclusive
    // The window's client pixels from its top left corner, as far as the canvas reaches.
    void copyWindow(HWND window);

    COLORREF at(int x, int y) const { return GetPixel(memoryDc, x, y); }
    // One character a pixel: '#' for ink, '.' for paper, '?' for anything else.
    std::vector<std::string> picture(COLORREF ink, COLORREF paper) const;
    // The bounding box (right and bottom exclusive) of the pixels other than
    // paper; all zero when there are none.
    RECT inkBounds(COLORREF paper) const;
    // Writes the pixels as a binary PPM file, for a person to look at after a failure.
    void savePpm(const std::string& path) const;

private:
    int widthPixels;
    int heightPixels;
    HDC memoryDc;
    HBITMAP image;
    HGDIOBJ previousBitmap;
};

// Both pictures side by side, the rows that differ marked.
std::string describeDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);
