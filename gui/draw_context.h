// The drawing surface of one event: wraps a device context, keeps the line,
// fill and text settings and the pen, brush and font it made for them.
//
// Window thread only. The frame makes one for each paint, click and idle pass
// and deletes it at once; the creator owns the device context.
//
// Coordinates are those of the 1x layout; a context with a scale maps every
// point, rectangle and font size to the device (lines stay one pixel wide)
// and maps the mouse back.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/device_scale.h"
#include "gui/draw_style.h"
#include "gui/gui_color.h"
#include "gui/gui_font.h"
#include "gui/gui_geometry.h"
#include "platform/win32.h"

class GuiFrame;

class DrawContext {
public:
    // deviceContext may be null; window is the one whose client coordinates
    // the context uses (null offscreen).
    DrawContext(GuiFrame* frame, HDC deviceContext, HWND window);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    // Selects back what the device context held, then deletes the own pen, brush and font.
    virtual ~DrawContext();

    void moveTo(const GuiPoint& point);
    // The end pixel is left out.
    void lineTo(const GuiPoint& point);
    void drawPolyline(const GuiPoint* points, std::int32_t count);
    // Fill without outline.
    void fillPolygon(const GuiPoint* points, std::int32_t count);
    // Columns left to right and rows top to bottom, both inclusive.
    void drawRect(const GuiRect& rect);
    // Only the interior inside a drawRect outline of the same rectangle.
    void fillRect(const GuiRect& rect);
    void drawEllipse(const GuiRect& rect);
    void fillEllipse(const GuiRect& rect);
    // Counter-clockwise from start to end, as GDI draws arcs.
    void drawArc(const GuiRect& rect, const GuiPoint& start, const GuiPoint& end);
    void fillArc(const GuiRect& rect, const GuiPoint& start, const GuiPoint& end);
    void drawPixel(const GuiPoint& point, const GuiColor& color);

    void setLineStyle(LineStyle style);
    void setLineWidth(std::int32_t pixels);
    void setLineColor(const GuiColor& color);
    void setFillColor(const GuiColor& color);
    void setTextColor(const GuiColor& color);
    // sizePixels 0 takes the font's default size; an unknown id is fontBold.
    void setFont(FontId id, std::int32_t sizePixels = 0);
    // One line, vertically centred; left-aligned text starts one pixel inside the rectangle.
    void drawText(const char* text, const GuiRect& rect, bool opaque = false, TextAlign align = alignCenter);

    // The frame's drawing scale; 1 unless set.
    void setScale(const DeviceScale& scale) { deviceScale = scale; }
    const DeviceScale& getScale() const { return deviceScale; }

    // The MouseState bits held down right now, read from the device, not the message queue.
    std::int32_t getMouseState() const;
    // The cursor now, in client coordinates of the context's window, mapped to the layout.
    void getMouseLocation(GuiPoint& point) const;

    HDC getDeviceContext() const { return deviceContext; }
    HWND getWindow() const { return window; }
    GuiFrame* getFrame() const { return frame; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getLineWidth() const { return lineWidth; }
    LineStyle getLineStyle() const { return lineStyle; }
    GuiColor getLineColor() const { return lineColor; }
    GuiColor getFillColor() const { return fillColor; }
    GuiColor getTextColor() const { return textColor; }

protected:
    std::vector<GuiPoint> toDevice(const GuiPoint* points, std::int32_t count) const;
    void rebuildPen();
    void rebuildBrush();

    HDC deviceContext;
    HWND window;
    DeviceScale deviceScale;
    GuiFrame* frame;
    std::int32_t fontSize = 0;
    GuiColor textColor = colorWhite;
    std::int32_t lineWidth = 1;
    GuiColor lineColor = colorWhite;
    GuiColor fillColor = colorBlack;
    LineStyle lineStyle = lineSolid;
    HBRUSH ownBrush = nullptr;
    HPEN ownPen = nullptr;
    HFONT ownFont = nullptr;
    HGDIOBJ previousBrush = nullptr;
    HGDIOBJ previousPen = nullptr;
    HGDIOBJ previousFont = nullptr;
    std::uint32_t penStyle = 0;  // PS_SOLID 0 or PS_DOT 2
};
