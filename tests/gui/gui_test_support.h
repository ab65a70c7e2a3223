// Shared pieces of the toolkit tests: a top-level host window that frames
// live in, the shared pixel canvas read in GuiColors, and pixel expectations
// that save the image when they fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "gui/gui_color.h"
#include "gui/gui_geometry.h"
#include "platform/win32.h"
#include "tests/support/pixel_canvas.h"

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

// A PixelCanvas compatible with the host window, read in the toolkit's colours.
class GuiCanvas : public PixelCanvas {
public:
    GuiCanvas(const HostWindow& host, int width, int height, const GuiColor& clearColor);
    void clear(const GuiColor& color) { PixelCanvas::clear(color.toColorRef()); }
    GuiColor pixel(int x, int y) const;
    // The smallest rectangle (right and bottom inclusive) of pixels that differ
    // from the colour; left > right when there are none.
    GuiRect boundsOfPixelsOtherThan(const GuiColor& color) const;
};

using PixelExpectation = std::function<GuiColor(int x, int y)>;

// Every pixel against the expectation; on a mismatch the surface is saved as
// <name>.ppm beside the test program and the first differences are listed.
::testing::AssertionResult pixelsMatch(const GuiCanvas& canvas, const PixelExpectation& expected,
                                       const std::string& name);

bool sameColor(const GuiColor& a, const GuiColor& b);
std::string describe(const GuiColor& color);

// A colour bitmap of the given size with each pixel from the function; the caller owns it.
HBITMAP makeColorBitmap(const HostWindow& host, int width, int height, const PixelExpectation& pixelAt);
