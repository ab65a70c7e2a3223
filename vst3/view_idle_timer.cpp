#include "vst3/view_idle_timer.h"

#if defined(_WIN32)
#include "platform/win32.h"
#endif

using Handler = Steinberg_Linux_ITimerHandler;

Steinberg_Linux_ITimerHandlerVtbl ViewIdleTimer::handlerTable = {
    Thunk<Handler, &ViewIdleTimer::queryInterface>::call,
    Thunk<Handler, &ViewIdleTimer::addRef>::call,
    Thunk<Handler, &ViewIdleTimer::release>::call,
    Thunk<Handler, &ViewIdleTimer::onTimer>::call,
};

ViewIdleTimer::ViewIdleTimer(Steinberg_FUnknown* owner, Tick tick, void* context)
    : owner(owner), tick(tick), context(context) {}

Steinberg_tresult ViewIdleTimer::queryInterface(const char* iid, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    if (sameInterfaceId(iid, Steinberg_FUnknown_iid) || sameInterfaceId(iid, Steinberg_Linux_ITimerHandler_iid)) {
        addRef();
        *object = &handler;
        return Steinberg_kResultOk;
    }
    *object = nullptr;
    return Steinberg_kNoInterface;
}

#if defined(_WIN32)

bool ViewIdleTimer::start(Steinberg_IPlugFrame*, void* parentWindow) {
    stop();
    const auto window = static_cast<HWND>(parentWindow);
    // The timer's id is this object: the window procedure's call brings it back.
    if (SetTimer(window, reinterpret_cast<UINT_PTR>(this), kIntervalMs, &ViewIdleTimer::onWindowTimer) == 0)
        return false;
    timerWindow = parentWindow;
    return true;
}

void ViewIdleTimer::stop() {
    if (timerWindow != nullptr) KillTimer(static_cast<HWND>(timerWindow), reinterpret_cast<UINT_PTR>(this));
    timerWindow = nullptr;
}

void __stdcall ViewIdleTimer::onWindowTimer(HWND, unsigned, std::uintptr_t id, unsigned long) {
    reinterpret_cast<ViewIdleTimer*>(id)->onTimer();
}

#else

bool ViewIdleTimer::start(Steinberg_IPlugFrame* frame, void*) {
    stop();
    if (frame == nullptr) return false;
    void* found = nullptr;
    if (frame->lpVtbl->queryInterface(frame, Steinberg_Linux_IRunLoop_iid, &found) != Steinberg_kResultOk ||
        found == nullptr)
        return false;
    runLoop = static_cast<Steinberg_Linux_IRunLoop*>(found);
    auto* timerHandler = &handler.interface;
    if (runLoop->lpVtbl->registerTimer(runLoop, timerHandler, kIntervalMs) == Steinberg_kResultOk) return true;
    runLoop->lpVtbl->release(runLoop);
    runLoop = nullptr;
    return false;
}

void ViewIdleTimer::stop() {
    if (runLoop == nullptr) return;
    runLoop->lpVtbl->unregisterTimer(runLoop, &handler.interface);
    runLoop->lpVtbl->release(runLoop);
    runLoop = nullptr;
}

#endif
