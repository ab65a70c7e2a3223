// A two-state switch drawn from one bitmap that holds the off image above the
// on image, each a block of the control's size.
#pragma once

#include "gui/gui_bitmap.h"
#include "gui/gui_control.h"

class ToggleButton : public GuiControl {
public:
    // Takes a reference on the bitmap (null draws nothing but still toggles).
    ToggleButton(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* bitmap);
    ~ToggleButton() override;

    // Any value other than 0.0 shows the on image.
    void draw(DrawContext& context) override;
    // Either button: values that truncate to 0 become 1.0, all others 0.0; drawn at once, then reported.
    void mouseDown(DrawContext& context, GuiPoint& where) override;

    GuiBitmap* getBitmap() const { return bitmap; }

private:
    GuiBitmap* bitmap;
};
