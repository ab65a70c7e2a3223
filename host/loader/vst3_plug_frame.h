// The frame our host gives a VST 3 editor view: a fixed-size window that
// refuses resizing, and on Linux the run loop a view needs for its timers
// and file descriptors (a view there must not run a loop of its own). The
// CLI's idle tick runs what is registered.
//
// Threads: the CLI's main thread, for every call and every tick.
#pragma once

#include <vst3_c_api.h>

#include <cstddef>
#include <vector>

#include "vst3_interface/interface_slot.h"

class Vst3PlugFrame {
public:
    Vst3PlugFrame();
    Vst3PlugFrame(const Vst3PlugFrame&) = delete;
    Vst3PlugFrame& operator=(const Vst3PlugFrame&) = delete;

    Steinberg_IPlugFrame* frame() { return &frameSlot.interface; }
    // Every registered timer fires once; every registered descriptor with
    // data waiting is reported.
    void idle();
    bool hasRegistrations() const { return !timers.empty() || !descriptors.empty(); }

private:
    static constexpr std::size_t kMaxRegistrations = 16;
    struct Descriptor {
        Steinberg_Linux_IEventHandler* handler;
        Steinberg_Linux_FileDescriptor fd;
    };

    Steinberg_tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return 1; }
    Steinberg_uint32 release() { return 1; }
    Steinberg_tresult resizeView(Steinberg_IPlugView*, Steinberg_ViewRect*) { return Steinberg_kResultFalse; }
    Steinberg_tresult registerEventHandler(Steinberg_Linux_IEventHandler* handler, Steinberg_Linux_FileDescriptor fd);
    Steinberg_tresult unregisterEventHandler(Steinberg_Linux_IEventHandler* handler);
    Steinberg_tresult registerTimer(Steinberg_Linux_ITimerHandler* handler, Steinberg_Linux_TimerInterval);
    Steinberg_tresult unregisterTimer(Steinberg_Linux_ITimerHandler* handler);

    static Steinberg_IPlugFrameVtbl frameTable;
    static Steinberg_Linux_IRunLoopVtbl runLoopTable;
    InterfaceSlot<Steinberg_IPlugFrame, Vst3PlugFrame> frameSlot{{&frameTable}, this};
    InterfaceSlot<Steinberg_Linux_IRunLoop, Vst3PlugFrame> runLoopSlot{{&runLoopTable}, this};
    std::vector<Steinberg_Linux_ITimerHandler*> timers;
    std::vector<Descriptor> descriptors;
};
