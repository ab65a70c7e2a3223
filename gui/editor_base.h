// The toolkit's editor: hands the host its rectangle, refreshes the frame on
// every idle call and offers the throttled idle that controls use while they
// track the mouse. A plug-in's editor derives from it and builds and deletes
// the frame in its own open and close.
//
// Window thread, except setParameter, which may come from any thread.
#pragma once

#include <cstdint>

#include "frame/editor_interface.h"
#include "gui/gui_frame.h"

class EffectBase;

class EditorBase : public EditorInterface {
public:
    // Registers with the effect as its editor (the effect owns it from then on).
    explicit EditorBase(EffectBase* effect);
    ~EditorBase() override = default;

    std::int32_t getRect(ERect** rectOut) override;
    // Asks for an update at the first idle, then stores the window.
    std::int32_t open(void* parentWindow) override;
    // The pending update, then the frame's idle pass.
    void idle() override;
    // Any thread: only asks for an update.
    virtual void setParameter(std::int32_t index, float value);
    // Draws the whole frame at once; the rectangle is not read.
    virtual void redrawFrame(ERect* rectToRedraw);

    // At most one idle pass and one host idle call per minIdleIntervalMs.
    void doIdle();

    GuiFrame* getFrame() const { return frame; }

    static constexpr std::uint32_t minIdleIntervalMs = 50;

protected:
    ERect rect{};
    GuiFrame* frame = nullptr;
    std::uint32_t lastIdleTime;
};
