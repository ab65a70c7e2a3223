// A hot area that, when clicked, shows a picture over part of the frame as the
// frame's modal view, until a click inside the picture hides it again.
//
// Hidden: value 0, the control's own size, not modal. Shown: value 1, size =
// the overlay rect, the frame's modal view.
#pragma once

#include "gui/gui_bitmap.h"
#include "gui/gui_control.h"

class OverlayButton : public GuiControl {
public:
    // Takes a reference on the bitmap; offset is the point of the bitmap shown
    // at the overlay rect's top-left corner.
    OverlayButton(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* bitmap,
                  const GuiRect& overlayRect, const GuiPoint& offset);
    ~OverlayButton() override;

    // The picture over the overlay rect while the value is not 0; nothing otherwise.
    void draw(DrawContext& context) override;
    // Shows (unless another view is modal) or hides, then reports.
    void mouseDown(DrawContext& context, GuiPoint& where) override;

    const GuiRect& getOverlayRect() const { return overlayRect; }

private:
    bool isModal() const;
    void show(DrawContext& context);
    void hide(DrawContext& context);

    GuiRect overlayRect;
    GuiRect savedSize{0, 0, 0, 0};  // the own size while shown
    GuiBitmap* bitmap;
    GuiPoint offset;
};
