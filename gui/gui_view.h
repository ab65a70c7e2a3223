// The base of everything drawn in a frame: a rectangle in the frame's client
// coordinates, the frame it was added to, and what it does when drawn, clicked
// or brought up to date. A plain view does nothing.
//
// Window thread only.
#pragma once

#include <cstdint>

#include "gui/draw_context.h"
#include "gui/gui_geometry.h"

class GuiFrame;
class OffscreenContext;

class GuiView {
public:
    explicit GuiView(const GuiRect& size) : size(size) {}
    GuiView(const GuiView&) = delete;
    GuiView& operator=(const GuiView&) = delete;
    // The owning frame deletes its views.
    virtual ~GuiView() = default;

    virtual void draw(DrawContext& context);
    // where is in frame coordinates; a view that tracks the mouse moves it along.
    virtual void mouseDown(DrawContext& context, GuiPoint& where);
    // The second press of a double-click; a view with no use for it takes it as a click.
    virtual void mouseDoubleClick(DrawContext& context, GuiPoint& where);
    // The mouse wheel turned over the view: notches away from the user are
    // positive; modifiers holds the keyShift and keyControl bits held with it.
    virtual void mouseWheel(DrawContext& context, const GuiPoint& where, float notches, std::int32_t modifiers);
    // Redraws whatever changed since the view was last drawn.
    virtual void update(DrawContext& context);
    virtual void loseFocus();
    virtual void takeFocus();
    // Kept only if at least as large as the view in both directions.
    virtual void setOffscreen(OffscreenContext* context);

    // Draws the view at once through its frame.
    void redraw();

    const GuiRect& getSize() const { return size; }
    void setSize(const GuiRect& newSize) { size = newSize; }
    GuiFrame* getParent() const { return parent; }
    void setParent(GuiFrame* frame) { parent = frame; }
    OffscreenContext* getOffscreen() const { return offscreen; }

protected:
    GuiRect size;
    GuiFrame* parent = nullptr;
    OffscreenContext* offscreen = nullptr;
};
