#include "gui/overlay_button.h"

#include "gui/gui_frame.h"

OverlayButton::OverlayButton(const GuiRect& size, ControlListener* listener, std::int32_t tag, GuiBitmap* bitmap,
                             const GuiRect& overlayRect, const GuiPoint& offset)
    : GuiControl(size, listener, tag), overlayRect(overlayRect), bitmap(bitmap), offset(offset) {
    if (bitmap != nullptr) bitmap->addRef();
}

OverlayButton::~OverlayButton() {
    if (bitmap != nullptr) bitmap->release();
}

void OverlayButton::draw(DrawContext& context) {
    // The last drawn value is left to update.
    if (getValue() != 0.0f && bitmap != nullptr) bitmap->draw(context, overlayRect, offset);
}

bool OverlayButton::isModal() const { return parent != nullptr && parent->getModalView() == this; }

void OverlayButton::mouseDown(DrawContext& context, GuiPoint&) {
    if (!mouseEnabled) return;
    // A value stored from outside (host automation) may disagree with what is
    // on screen: while the picture is modal a click always hides it, or no
    // click could ever reach anything again.
    beginEdit();
    if (getValue() == 0.0f && !isModal())
        show(context);
    else
        hide(context);
    endEdit();
}

void OverlayButton::show(DrawContext& context) {
    if (parent == nullptr || !parent->setModalView(this)) return;  // another view is modal
    setValue(1.0f);
    savedSize = size;
    size = overlayRect;
    draw(context);
    reportChange(context);
}

void OverlayButton::hide(DrawContext& context) {
    setValue(0.0f);
    if (isModal()) {
        // Only a shown button has a size saved to go back to.
        size = savedSize;
        parent->setModalView(nullptr);
    }
    if (parent != nullptr) parent->draw(context);  // background and every view over the picture
    reportChange(context);
}
