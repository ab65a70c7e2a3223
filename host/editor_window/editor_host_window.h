// A host window with a plug-in's editor open in it, the way a Windows host
// shows one: a top-level window of the editor's size, effEditOpen with its
// handle, messages pumped and effEditIdle called until the editor has
// painted. Natively the window belongs to our own Win32 layer (the plug-in's
// copy of it draws into it through the window bridge); on Windows and under
// Wine it is a real window.
//
// Window thread only: everything happens on the thread that created it.
#pragma once

#include <cstdint>
#include <vector>

#include "host/loader/hosted_plugin.h"
#include "platform/win32.h"

// Pixels as PNG writers take them: rows top to bottom, R, G, B, A bytes.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

class EditorHostWindow {
public:
    // Asks the editor's rectangle, creates the window and opens the editor;
    // throws CommandError if the plug-in has no editor or no window can be made.
    explicit EditorHostWindow(HostedPlugin& plugin);
    EditorHostWindow(const EditorHostWindow&) = delete;
    EditorHostWindow& operator=(const EditorHostWindow&) = delete;
    // effEditClose, then the window goes.
    ~EditorHostWindow();

    // Dispatches waiting messages and gives the editor idle calls until
    // nothing is left to paint (at least minimumRounds idle calls).
    void settle(int minimumRounds = 3);
    // A left click at (x, y) of the editor's own window, the child of ours.
    void click(int x, int y);
    // The window's pixels through its device context.
    RgbaImage capture() const;

    int width() const { return clientWidth; }
    int height() const { return clientHeight; }

private:
    void pumpMessages();
    bool needsPainting() const;

    HostedPlugin& plugin;
    int clientWidth = 0;
    int clientHeight = 0;
    HWND window = nullptr;
    bool editorOpen = false;
};
