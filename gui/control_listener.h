// What a control tells its owner: the user has changed its value, and where
// one gesture of the user (a drag, a click, a wheel notch) begins and ends
// around the changes, and which value a double-click restores.
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
    // Window thread: the value a double-click returns the control to; false
    // when there is none.
    virtual bool valueToRestore(const GuiControl&, float&) { return false; }

protected:
    ~ControlListener() = default;  // never deleted through this interface
};
