// The editor in a VST 3 host's window: IPlugView around ReverbEditor, with a
// fixed size of 512 x 512. The parent is an X11 window id on Linux
// ("X11EmbedWindowID") and an HWND on Windows; the editor's idle tick comes
// from ViewIdleTimer while it is attached. The view keeps its plug-in (the
// controller the editor talks to) alive until the host releases the view.
//
// Threads: the host's UI thread, for every call.
#pragma once

#include <vst3_c_api.h>

#include "editor/reverb_editor.h"
#include "vst3/reverb_edit_controller.h"
#include "vst3/view_idle_timer.h"
#include "vst3_interface/interface_slot.h"

class ReverbPlugView {
public:
    // Holds a reference to plugin; returns with one reference for the caller.
    static Steinberg_IPlugView* create(Steinberg_FUnknown* plugin, ReverbEditController& controller);

private:
    ReverbPlugView(Steinberg_FUnknown* plugin, ReverbEditController& controller);
    ~ReverbPlugView();

    Steinberg_tresult queryInterface(const char* iid, void** object);
    Steinberg_uint32 addRef() { return references.add(); }
    Steinberg_uint32 release();
    Steinberg_tresult isPlatformTypeSupported(Steinberg_FIDString type);
    Steinberg_tresult attached(void* parent, Steinberg_FIDString type);
    Steinberg_tresult removed();
    Steinberg_tresult onWheel(float) { return Steinberg_kResultFalse; }
    Steinberg_tresult onKeyDown(Steinberg_char16, Steinberg_int16, Steinberg_int16) { return Steinberg_kResultFalse; }
    Steinberg_tresult onKeyUp(Steinberg_char16, Steinberg_int16, Steinberg_int16) { return Steinberg_kResultFalse; }
    Steinberg_tresult getSize(Steinberg_ViewRect* size);
    Steinberg_tresult onSize(Steinberg_ViewRect* newSize);
    Steinberg_tresult onFocus(Steinberg_TBool) { return Steinberg_kResultOk; }
    Steinberg_tresult setFrame(Steinberg_IPlugFrame* newFrame);
    Steinberg_tresult canResize() { return Steinberg_kResultFalse; }
    Steinberg_tresult checkSizeConstraint(Steinberg_ViewRect* rect) { return getSize(rect); }
    static void idleEditor(void* self) { static_cast<ReverbPlugView*>(self)->editor.idle(); }

    static Steinberg_IPlugViewVtbl viewTable;

    InterfaceSlot<Steinberg_IPlugView, ReverbPlugView> view{{&viewTable}, this};
    ReferenceCount references;
    Steinberg_FUnknown* plugin;
    ReverbEditController& controller;
    ReverbEditor editor;
    ViewIdleTimer idleTimer;
    Steinberg_IPlugFrame* frame = nullptr;  // the host's, for as long as it keeps the view
    bool isAttached = false;
};
