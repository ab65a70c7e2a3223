// A control that shows its value as one line of text in a small box: a piece
// of a bitmap, or a filled rectangle with an outline or a bevel. The text
// comes from a converter function or, without one, from "%2.2f". It has no
// listener and ignores clicks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gui/draw_style.h"
#include "gui/gui_bitmap.h"
#include "gui/gui_color.h"
#include "gui/gui_control.h"
#include "gui/gui_font.h"

// Fills text (valueTextSize bytes, first byte already 0) with a zero-terminated text for value.
using ValueConverter = void (*)(float value, char* text);

// Style bits that the display reads; others are carried but ignored.
inline constexpr std::int32_t styleShadowText = 0x04;
inline constexpr std::int32_t style3DIn = 0x80;
inline constexpr std::int32_t style3DOut = 0x100;

class ValueDisplay : public GuiControl {
public:
    static constexpr std::size_t valueTextSize = 256;

    // Takes a reference on the background bitmap, if given.
    ValueDisplay(const GuiRect& size, GuiBitmap* background, std::int32_t style);
    ~ValueDisplay() override;

    // The converter's text, or the value with "%2.2f".
    void draw(DrawContext& context) override;

    // The setters of what is drawn force a redraw when the setting changes
    // (colours compare red, green and blue only).
    virtual void setFont(FontId id);
    virtual void setTextColor(const GuiColor& color);
    virtual void setBackColor(const GuiColor& color);
    virtual void setBorderColor(const GuiColor& color);
    virtual void setShadowColor(const GuiColor& color);
    virtual void setAlignment(TextAlign newAlignment);
    virtual void setBackOffset(const GuiPoint& point) { backOffset = point; }
    virtual void setConverter(ValueConverter newConverter) { converter = newConverter; }

    // The box with an arbitrary text; bitmap, if given, replaces the display's own background.
    void drawValueText(DrawContext& context, const char* text, GuiBitmap* bitmap);

    FontId getFont() const { return font; }
    GuiColor getTextColor() const { return textColor; }
    GuiColor getBackColor() const { return backColor; }
    GuiColor getBorderColor() const { return borderColor; }
    GuiColor getShadowColor() const { return shadowColor; }
    TextAlign getAlignment() const { return alignment; }
    GuiPoint getBackOffset() const { return backOffset; }
    ValueConverter getConverter() const { return converter; }
    std::int32_t getStyle() const { return style; }

private:
    // The next update finds a difference and draws.
    void forceRedraw() { lastDrawnValue = getValue() + 0.1f; }
    void setColor(GuiColor& stored, const GuiColor& color);
    void drawBox(DrawContext& context, GuiBitmap* bitmap);
    void drawBevel(DrawContext& context);
    void drawValueText(DrawContext& context, const char* text, GuiBitmap* bitmap, float shownValue);

    TextAlign alignment = alignCenter;
    std::int32_t style;
    FontId font = fontNormal;
    GuiColor textColor = colorWhite;
    GuiColor backColor = colorBlack;
    GuiColor borderColor = colorBlack;
    GuiColor shadowColor = colorRed;
    GuiPoint backOffset{0, 0};
    GuiBitmap* background;
    ValueConverter converter = nullptr;
};
