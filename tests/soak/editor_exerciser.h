// Opens an instance's editor in a fresh top-level X11 window of a host,
// idles it as a host's timer does, clicks into it at random points (events
// sent through the X server to the editor's windows, a press and its
// release), idles again and closes it.
//
// Main thread.
#pragma once

#include "tests/soak/soak_instance.h"
#include "tests/soak/soak_random.h"

struct _XDisplay;

class EditorExerciser {
public:
    EditorExerciser();  // on DISPLAY; isReady tells whether it opened
    EditorExerciser(const EditorExerciser&) = delete;
    EditorExerciser& operator=(const EditorExerciser&) = delete;
    ~EditorExerciser();

    bool isReady() const { return display != nullptr; }
    // One open, idle, click, idle, close; false when the editor did not open.
    bool cycle(SoakInstance& instance, SoakRandom& random);

private:
    static constexpr int kEditorSize = 512;
    static constexpr int kIdleCalls = 4;
    static constexpr int kClicks = 3;

    void idle(SoakInstance& instance, int calls);
    void click(unsigned long hostWindow, SoakRandom& random);

    _XDisplay* display = nullptr;
};
