// A Roomplate instance built with the real editor factory, a host callback
// that records what the plug-in sends, and the host window the editor opens in.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "editor/reverb_editor.h"
#include "frame/aeffect.h"
#include "tests/gui/gui_test_support.h"
#include "vst2/reverb_plugin.h"

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    float opt;
};

struct RecordingHost {
    static inline std::vector<HostCall> calls;
    static VstIntPtr VSTCALLBACK callback(AEffect*, std::int32_t opcode, std::int32_t index, VstIntPtr, void*,
                                          float opt) {
        calls.push_back({opcode, index, opt});
        return opcode == audioMasterVersion ? 2400 : 0;
    }
    static std::vector<HostCall> automations() {
        std::vector<HostCall> found;
        for (const HostCall& call : calls)
            if (call.opcode == audioMasterAutomate) found.push_back(call);
        return found;
    }
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        useTestModuleHandle();  // the bitmaps and the window class belong to the test program
        RecordingHost::calls.clear();
        plugin = new ReverbPlugin(RecordingHost::callback, createReverbEditor);
        record = plugin->getEffectRecord();
        editor = dynamic_cast<ReverbEditor*>(plugin->getEditor());
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override {
        if (record != nullptr) dispatch(effClose);
    }

    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
        return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
    }
    VstIntPtr openInHost() { return dispatch(effEditOpen, 0, 0, host.handle()); }
    // Lets the window system deliver what is pending, paints included, as a host's message loop does.
    static void pumpMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // A button-down message at a frame point, as the frame's window receives it.
    void click(UINT message, int h, int v) {
        const LPARAM position = static_cast<LPARAM>((static_cast<unsigned>(v) << 16) | static_cast<unsigned>(h));
        GuiFrame::windowProc(editor->getFrame()->getWindowHandle(), message, 0, position);
    }

    // Wheel notches at a frame point (client pixels), which WM_MOUSEWHEEL carries in screen coordinates.
    static void wheel(HWND frameWindow, int notches, WPARAM keys, int h, int v) {
        POINT screen{h, v};
        MapWindowPoints(frameWindow, nullptr, &screen, 1);
        const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
        GuiFrame::windowProc(frameWindow, WM_MOUSEWHEEL, static_cast<WPARAM>(MAKELONG(keys, delta)),
                             MAKELPARAM(screen.x, screen.y));
    }

    HostWindow host{600, 600};
    ReverbPlugin* plugin = nullptr;
    AEffect* record = nullptr;
    ReverbEditor* editor = nullptr;
};

// Position of a parameter's knob in the layout table.
inline std::int32_t knobSlotOf(std::int32_t parameter) { return bindingFor(parameter).slot; }
