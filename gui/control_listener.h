// What a control tells its owner: the user has changed its value, and where
// one gesture of the user (a drag, a click) begins and ends around the changes.
#pragma once

class DrawContext;
class GuiControl;

class ControlListener {
public:
    // Window thread, from inside the control's mouse handling. The control
    // has stored the new value but may not have drawn it yet; context is the
    // one the click came with.
    virtual void valueChanged(DrawContext& context, GuiControl& control) = 0;
    // Window thread, before the first and after the last valueChanged of a gesture.
    virtual void beginEdit(GuiControl&) {}
    virtual void endEdit(GuiControl&) {}

protected:
    ~ControlListener() = default;  // never deleted through this interface
};
