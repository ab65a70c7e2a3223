// The editor as the plug-in base sees it. The dispatcher forwards the editor
// opcodes here; everything else about the editor lives in the toolkit.
#pragma once

#include <atomic>
#include <cstdint>

#include "frame/aeffect.h"

class EffectBase;

class EditorInterface {
public:
    explicit EditorInterface(EffectBase* effect) : effect(effect) {}
    EditorInterface(const EditorInterface&) = delete;
    EditorInterface& operator=(const EditorInterface&) = delete;
    virtual ~EditorInterface() = default;

    // Window thread. Stores the rectangle's address in *rect; 0 without one.
    virtual std::int32_t getRect(ERect** rect) {
        *rect = nullptr;
        return 0;
    }
    virtual std::int32_t open(void* parentWindow) {
        systemWindow = parentWindow;
        return 0;
    }
    virtual void close() {}
    virtual void idle() {
        if (updateFlag.exchange(0, std::memory_order_relaxed) != 0) update();
    }
    virtual void update() {}
    // Any thread: a plain store the next idle picks up.
    virtual void postUpdate() { updateFlag.store(1, std::memory_order_relaxed); }

    EffectBase* getEffect() const { return effect; }
    void* getSystemWindow() const { return systemWindow; }
    bool isUpdatePending() const { return updateFlag.load(std::memory_order_relaxed) != 0; }

protected:
    EffectBase* effect;
    void* systemWindow = nullptr;
    std::atomic<std::int32_t> updateFlag{0};
};
