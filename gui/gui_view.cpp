#include "gui/gui_view.h"

#include "gui/gui_frame.h"
#include "gui/offscreen_context.h"

void GuiView::draw(DrawContext&) {}

void GuiView::mouseDown(DrawContext&, GuiPoint&) {}

void GuiView::mouseDoubleClick(DrawContext& context, GuiPoint& where) { mouseDown(context, where); }

void GuiView::mouseWheel(DrawContext&, const GuiPoint&, float, std::int32_t) {}

void GuiView::update(DrawContext&) {}

void GuiView::loseFocus() {}

void GuiView::takeFocus() {}

void GuiView::setOffscreen(OffscreenContext* context) {
    if (context != nullptr && context->getWidth() >= size.width() && context->getHeight() >= size.height())
        offscreen = context;
}

void GuiView::redraw() {
    if (parent != nullptr) parent->drawView(this);
}
