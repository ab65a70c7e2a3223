// Where the fuzzer and the thread test get the host window that effEditOpen
// receives. A source makes one parent window per open editor and destroys it
// after the editor has closed.
//
// Hook for the editor: defaultParentWindows() answers null while the plug-in
// has no editor; effEditOpen then receives a null window. Once the editor is
// built in, answer a source of real windows (child windows of a host window of
// our Win32 subset, platform/) there, and both programs open, idle and close
// the editor in them.
#pragma once

class ParentWindowSource {
public:
    virtual ~ParentWindowSource() = default;
    // A window the editor may open inside; on the thread that calls it.
    virtual void* createParent() = 0;
    virtual void destroyParent(void* window) = 0;
    // Delivers what the window system has queued (paint, clicks) on this thread.
    virtual void pumpMessages() {}
};

// The source both programs use; null when no window system is available.
ParentWindowSource* defaultParentWindows();
