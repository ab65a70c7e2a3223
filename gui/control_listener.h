// What a control tells its owner: the user has changed its value.
#pragma once

class DrawContext;
class GuiControl;

class ControlListener {
public:
    // Window thread, from inside the control's mouse handling. The control
    // has stored the new value but may not have drawn it yet; context is the
    // one the click came with.
    virtual void valueChanged(DrawContext& context, GuiControl& control) = 0;

protected:
    ~ControlListener() = default;  // never deleted through this interface
};
