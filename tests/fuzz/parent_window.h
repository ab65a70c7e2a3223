// Where the fuzzer and the thread test get the host window that effEditOpen
// receives. A source makes one parent window per open editor and destroys it
// after the editor has closed.
//
// defaultParentWindows() answers child windows of one top-level host window,
// of our Win32 subset (platform/) or of Windows itself, so both programs open,
// idle and close the real editor. A program may pass null instead: the editor
// then gets a null window.
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

// The source both programs use.
ParentWindowSource* defaultParentWindows();
