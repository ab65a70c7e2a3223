// The editor's idle tick while its view is attached. On Linux the host's
// IRunLoop (queried from the view's IPlugFrame) calls our timer handler on
// its UI thread: a VST 3 view there must not run a loop of its own. On
// Windows a window timer on the host's parent window does the same.
//
// Threads: the host's UI thread, for every call and every tick.
#pragma once

#include <vst3_c_api.h>

#include <cstdint>

#include "vst3_interface/interface_slot.h"

class ViewIdleTimer {
public:
    static constexpr std::uint32_t kIntervalMs = 30;
    using Tick = void (*)(void* context);

    // owner counts the references a host takes on the timer handler.
    ViewIdleTimer(Steinberg_FUnknown* owner, Tick tick, void* context);
    ViewIdleTimer(const ViewIdleTimer&) = delete;
    ViewIdleTimer& operator=(const ViewIdleTimer&) = delete;
    ~ViewIdleTimer() { stop(); }

    // False where no timer could be set up (no frame or no run loop on
    // Linux): the editor then shows its first picture but no later change.
    bool start(Steinberg_IPlugFrame* frame, void* parentWindow);
    void stop();

private:
    Steinberg_tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return owner->lpVtbl->addRef(owner); }
    Steinberg_uint32 release() { return owner->lpVtbl->release(owner); }
    void onTimer() { tick(context); }

    static Steinberg_Linux_ITimerHandlerVtbl handlerTable;

    Steinberg_FUnknown* owner;
    Tick tick;
    void* context;
    InterfaceSlot<Steinberg_Linux_ITimerHandler, ViewIdleTimer> handler{{&handlerTable}, this};
    Steinberg_Linux_IRunLoop* runLoop = nullptr;
    void* timerWindow = nullptr;  // Windows: the window the timer is set on
#if defined(_WIN32)
    static void __stdcall onWindowTimer(struct HWND__* window, unsigned message, std::uintptr_t id, unsigned long time);
#endif
};
