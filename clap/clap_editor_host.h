// The reverb's editor inside a CLAP host's window: the gui extension's
// calls, with the idle tick from the host's timer-support. On Linux, where
// the host offers posix-fd-support, our X11 connection is watched too, so
// that input and exposure are handled when they arrive, not at the next tick. The editor is
// made with the instance and lives as long as it, so that parameter changes
// from any thread always find it; create and destroy only open and close
// its window.
//
// Threads: every call on the main thread, except parameterChanged, which
// may come from any thread (the editor only stores and asks for an update).
#pragma once

#include <clap/clap.h>

#include <cstdint>
#include <memory>

#include "editor/editor_connection.h"

class ReverbEditor;

class ClapEditorHost {
public:
    static constexpr std::uint32_t kIdlePeriodMs = 33;

    ClapEditorHost(const clap_host_t* host, EditorConnection& connection);
    ~ClapEditorHost();
    ClapEditorHost(const ClapEditorHost&) = delete;
    ClapEditorHost& operator=(const ClapEditorHost&) = delete;

    // X11 on Linux, win32 on Windows, embedded only.
    static bool isApiSupported(const char* api, bool isFloating);
    static const char* nativeApi();

    // False without the host's timer-support (nothing would idle the editor) or an editor.
    bool create(const char* api, bool isFloating);
    void destroy();
    // The editor's size in pixels at its scale.
    bool size(std::uint32_t& width, std::uint32_t& height) const;
    // The host's factor for the screen (X11 and win32 windows are in pixels):
    // the editor draws at the nearest of 1, 1.5 and 2.
    bool setScale(double factor);
    double scale() const;
    // A size the user dragged to, taken to the nearest square the editor draws.
    bool adjustSize(std::uint32_t& width, std::uint32_t& height) const;
    // One of the sizes the editor draws (512, 768 or 1024 square); any other is refused.
    bool setSize(std::uint32_t width, std::uint32_t height);
    // A saved state's scale: an open editor asks the host for its new size.
    void restoreScale(double factor);
    bool setParent(const clap_window_t* window);
    void onTimer(clap_id timerId);
    // The host saw fd readable (or in error).
    void onFd(int fd, clap_posix_fd_flags_t flags);
    bool isCreated() const { return created; }

    // Any thread: the value was stored; the open editor shows it at its next idle.
    void parameterChanged(std::int32_t index, float value);

private:
    const clap_host_t* host;
    void watchDisplay();
    void unwatchDisplay();

    const clap_host_timer_support_t* timers = nullptr;
    const clap_host_posix_fd_support_t* descriptors = nullptr;
    int watchedFd = -1;                        // the X11 connection the host watches for us
    const clap_host_gui_t* hostGui = nullptr;  // null when the host offers none
    std::unique_ptr<ReverbEditor> editor;      // null when it could not be made
    bool created = false;
    bool opened = false;
    clap_id idleTimer = CLAP_INVALID_ID;
};
