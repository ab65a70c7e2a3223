#include "gui/value_display.h"

#include <cstdio>

ValueDisplay::ValueDisplay(const GuiRect& size, GuiBitmap* background, std::int32_t style)
    : GuiControl(size, nullptr, 0), style(style), background(background) {
    if (background != nullptr) background->addRef();
}

ValueDisplay::~ValueDisplay() {
    if (background != nullptr) background->release();
}

void ValueDisplay::draw(DrawContext& context) {
    const float shown = getValue();
    char text[valueTextSize];
    text[0] = '\0';
    if (converter != nullptr)
        converter(shown, text);
    else
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(shown));
    drawValueText(context, text, nullptr, shown);
}

void ValueDisplay::setFont(FontId id) {
    if (id != font) forceRedraw();
    font = id;
}

void ValueDisplay::setColor(GuiColor& stored, const GuiColor& color) {
    if (!stored.sameRgb(color)) forceRedraw();
    stored = color;
}

void ValueDisplay::setTextColor(const GuiColor& color) { setColor(textColor, color); }
void ValueDisplay::setBackColor(const GuiColor& color) { setColor(backColor, color); }
void ValueDisplay::setBorderColor(const GuiColor& color) { setColor(borderColor, color); }
void ValueDisplay::setShadowColor(const GuiColor& color) { setColor(shadowColor, color); }

void ValueDisplay::setAlignment(TextAlign newAlignment) {
    if (newAlignment != alignment) forceRedraw();
    alignment = newAlignment;
}

void ValueDisplay::drawValueText(DrawContext& context, const char* text, GuiBitmap* bitmap) {
    drawValueText(context, text, bitmap, getValue());
}

void ValueDisplay::drawValueText(DrawContext& context, const char* text, GuiBitmap* bitmap, float shownValue) {
    drawBox(context, bitmap);
    if ((style & (style3DIn | style3DOut)) != 0) drawBevel(context);
    context.setFont(font, 0);
    if ((style & styleShadowText) != 0) {
        const GuiRect shadowRect(size.left + 1, size.top + 1, size.right + 1, size.bottom + 1);
        context.setTextColor(shadowColor);
        context.drawText(text, shadowRect, false, alignment);
    }
    context.setTextColor(textColor);
    context.drawText(text, size, false, alignment);
    lastDrawnValue = shownValue;
}

void ValueDisplay::drawBox(DrawContext& context, GuiBitmap* bitmap) {
    GuiBitmap* image = bitmap != nullptr ? bitmap : background;
    if (image != nullptr) {
        image->draw(context, size, backOffset);
        return;
    }
    context.setFillColor(backColor);
    context.fillRect(size);
    if ((style & (style3DIn | style3DOut)) == 0) {
        context.setLineColor(borderColor);
        context.drawRect(size);
    }
}

void ValueDisplay::drawBevel(DrawContext& context) {
    const bool sunken = (style & style3DIn) != 0;
    // Left and top edges, then right and bottom: light and dark swap between in and out.
    context.setLineColor(sunken ? backColor : borderColor);
    context.moveTo(GuiPoint(size.left, size.bottom));
    context.lineTo(GuiPoint(size.left, size.top));
    context.lineTo(GuiPoint(size.right + 1, size.top));
    context.setLineColor(sunken ? borderColor : backColor);
    context.moveTo(GuiPoint(size.right, size.top + 1));
    context.lineTo(GuiPoint(size.right, size.bottom));
    context.lineTo(GuiPoint(size.left, size.bottom));
}
