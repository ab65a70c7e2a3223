// One plug-in instance as the soak drives it, whatever its format. Each
// format's thread rules decide how a call reaches the plug-in: a value the
// format lets any thread set goes straight in, the others travel through a
// ValueQueue to the audio thread.
//
// Threads: process on the audio thread; automate on the automation thread;
// the rest on the main thread (the one that made the instance), where
// restart and the final comparisons run only while no block is processed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SoakInstance {
public:
    virtual ~SoakInstance() = default;

    virtual int parameterCount() const = 0;
    virtual int programCount() const = 0;

    // Audio thread: what the other threads queued goes in, then one block of
    // two channels; frames 1 … the maximum block size given at creation.
    virtual void process(float* const* inputs, float* const* outputs, std::int32_t frames) = 0;
    // Automation thread: a parameter (0 … parameterCount−1) to a value 0 … 1.
    virtual void automate(std::int32_t index, float value) = 0;

    // Main thread.
    virtual void selectProgram(std::int32_t program) = 0;
    virtual std::vector<std::uint8_t> saveState() = 0;
    virtual bool restoreState(const std::vector<std::uint8_t>& state) = 0;
    // Main thread, no block in progress: the next block starts from silence.
    virtual void restart() = 0;

    // Main thread: the editor inside the host's X11 window, idled as a host does.
    virtual bool openEditor(std::uintptr_t parentWindow) = 0;
    virtual void idleEditor() = 0;
    virtual void closeEditor() = 0;
};
