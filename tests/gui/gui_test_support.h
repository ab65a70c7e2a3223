// Shared pieces of the toolkit tests: a top-level host window that frames
// live in, a colour bitmap surface whose pixels the tests read back, and
// pixel expectations that save the image when they fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "gui/gui_color.h"
#include "gui/gui_geometry.h"
#include "platform/win32.h"

// Points moduleHandle at the test program, as the library's load step does for
// the plug-in, so that window classes and bitmaps have a module.
void useTestModuleHandle();

// A visible window standing in for the host's editor window (a child of one
// top-level window that the whole test program shares).
class HostWindow {
public:
    HostWindow(int width = 600, int height = 600);
    ~HostWindow();
    HWND handle() const { return window; }
    // Destroys the window (and its children) before the end of the test.
    void destroy();

private:
    HWND window = nullptr;
};

// width x height pixels compatible with the host window, cleared to one colour.
class Canvas {
public:
    Canvas(const HostWindow& host, int width, int height, const GuiColor& clearColor);
    ~Canvas();
    HDC dc() const { return memoryDc; }
    int width() const { return w; }
    int height() const { return h; }
    void clear(const GuiColor& color);
    void fill(const GuiRect& gdiRect, const GuiColor& color);  // right and bottom exclusive
    GuiColor pixel(int x, int y) const;
    // The smallest rectangle (right and bottom inclusive) of pixels that differ
    // from the colour; left > right when there are none.
    GuiRect boundsOfPixelsOtherThan(const GuiColor& color) const;
    // Writes the surface as a binary PPM file.
    void save(const std::string& path) const;

private:
    HDC memoryDc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    int w;
    int h;
};

using PixelExpectation = std::function<GuiColor(int x, int y)>;

// Every pixel against the expectation; on a mismatch the surface is saved as
// <name>.ppm beside the test program and the first differences are listed.
::testing::AssertionResult pixelsMatch(const Canvas& canvas, const PixelExpectation& expected, const std::string& name);

bool sameColor(const GuiColor& a, const GuiColor& b);
std::string describe(const GuiColor& color);

// A colour bitmap of the given size with each pixel from the function; the caller owns it.
HBITMAP makeColorBitmap(const HostWindow& host, int width, int height, const PixelExpectation& pixelAt);
