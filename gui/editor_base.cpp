#include "gui/editor_base.h"

#include "frame/effect_base.h"
#if !defined(_WIN32)
#include "platform/hosted_windows.h"
#endif

EditorBase::EditorBase(EffectBase* effect) : EditorInterface(effect) {
    if (effect != nullptr) effect->attachEditor(this);
    lastIdleTime = GetTickCount();
}

std::int32_t EditorBase::getRect(ERect** rectOut) {
    *rectOut = &rect;
    return 1;
}

std::int32_t EditorBase::open(void* parentWindow) {
    postUpdate();
    return EditorInterface::open(parentWindow);
}

void EditorBase::idle() {
#if !defined(_WIN32)
    // A window shown inside a Linux host's X11 window has no host loop that
    // dispatches its paints and clicks: the host's idle call does it.
    win32subset::dispatchHostedWindowMessages();
#endif
    EditorInterface::idle();
    if (frame != nullptr) frame->idle();
}

void EditorBase::setParameter(std::int32_t, float) { postUpdate(); }

void EditorBase::redrawFrame(ERect*) {
    if (frame != nullptr) frame->drawView(nullptr);
}

void EditorBase::doIdle() {
    const std::uint32_t now = GetTickCount();
    // Elapsed time in modular arithmetic, so the wrap of the tick count every
    // 49.7 days does not stop the passes.
    if (now - lastIdleTime < minIdleIntervalMs) return;
    lastIdleTime = now;
    idle();
    if (effect != nullptr) effect->hostIdle();
}
