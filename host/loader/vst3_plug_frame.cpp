#include "host/loader/vst3_plug_frame.h"

#include <algorithm>

#if !defined(_WIN32)
#include <poll.h>
#endif

Steinberg_IPlugFrameVtbl Vst3PlugFrame::frameTable = {Thunk<Steinberg_IPlugFrame, &Vst3PlugFrame::queryInterface>::call,
                                                      Thunk<Steinberg_IPlugFrame, &Vst3PlugFrame::addRef>::call,
                                                      Thunk<Steinberg_IPlugFrame, &Vst3PlugFrame::release>::call,
                                                      Thunk<Steinberg_IPlugFrame, &Vst3PlugFrame::resizeView>::call};

Steinberg_Linux_IRunLoopVtbl Vst3PlugFrame::runLoopTable = {
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::queryInterface>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::addRef>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::release>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::registerEventHandler>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::unregisterEventHandler>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::registerTimer>::call,
    Thunk<Steinberg_Linux_IRunLoop, &Vst3PlugFrame::unregisterTimer>::call};

Vst3PlugFrame::Vst3PlugFrame() {
    timers.reserve(kMaxRegistrations);
    descriptors.reserve(kMaxRegistrations);
}

Steinberg_tresult Vst3PlugFrame::queryInterface(const char* iid, void** object) {
#if !defined(_WIN32)
    if (object != nullptr && sameInterfaceId(iid, Steinberg_Linux_IRunLoop_iid)) {
        *object = &runLoopSlot;
        return Steinberg_kResultOk;
    }
#endif
    return answerInterfaceQuery(&frameSlot, iid, Steinberg_IPlugFrame_iid, object);
}

Steinberg_tresult Vst3PlugFrame::registerEventHandler(Steinberg_Linux_IEventHandler* handler,
                                                      Steinberg_Linux_FileDescriptor fd) {
    if (handler == nullptr || fd < 0 || descriptors.size() >= kMaxRegistrations) return Steinberg_kInvalidArgument;
    descriptors.push_back({handler, fd});
    return Steinberg_kResultOk;
}

Steinberg_tresult Vst3PlugFrame::unregisterEventHandler(Steinberg_Linux_IEventHandler* handler) {
    const auto end = std::remove_if(descriptors.begin(), descriptors.end(),
                                    [handler](const Descriptor& entry) { return entry.handler == handler; });
    if (end == descriptors.end()) return Steinberg_kInvalidArgument;
    descriptors.erase(end, descriptors.end());
    return Steinberg_kResultOk;
}

Steinberg_tresult Vst3PlugFrame::registerTimer(Steinberg_Linux_ITimerHandler* handler, Steinberg_Linux_TimerInterval) {
    if (handler == nullptr || timers.size() >= kMaxRegistrations) return Steinberg_kInvalidArgument;
    timers.push_back(handler);
    return Steinberg_kResultOk;
}

Steinberg_tresult Vst3PlugFrame::unregisterTimer(Steinberg_Linux_ITimerHandler* handler) {
    const auto found = std::find(timers.begin(), timers.end(), handler);
    if (found == timers.end()) return Steinberg_kInvalidArgument;
    timers.erase(found);
    return Steinberg_kResultOk;
}

void Vst3PlugFrame::idle() {
    // Copies: a handler may unregister itself while it runs.
    for (Steinberg_Linux_ITimerHandler* timer : std::vector<Steinberg_Linux_ITimerHandler*>(timers))
        timer->lpVtbl->onTimer(timer);
#if !defined(_WIN32)
    for (const Descriptor& entry : std::vector<Descriptor>(descriptors)) {
        pollfd waiting{entry.fd, POLLIN, 0};
        if (poll(&waiting, 1, 0) > 0) entry.handler->lpVtbl->onFDIsSet(entry.handler, entry.fd);
    }
#endif
}
