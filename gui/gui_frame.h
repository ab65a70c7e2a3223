// The frame: a child window inside the host's window that owns an ordered
// list of views, paints them, hands clicks to them and, on each idle pass,
// lets every view redraw what changed.
//
// Window thread only: the host's open, close and idle calls and the window
// procedure all come there.
//
// The frame and its views are laid out at 1x; a frame made with a scale has a
// window of its size times the scale, draws every view mapped to it and maps
// the mouse back, so views never see the scale.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/aeffect.h"
#include "gui/draw_context.h"
#include "gui/gui_bitmap.h"
#include "gui/gui_view.h"
#include "platform/win32.h"

class EditorBase;

class GuiFrame : public GuiView {
public:
    // With a null parent window no child window is made; the frame still takes views.
    GuiFrame(const GuiRect& size, void* parentWindow, EditorBase* editor, const DeviceScale& scale = DeviceScale());
    // Deletes the views, releases the background, then destroys the window.
    ~GuiFrame() override;

    // Background, every view in the order added, the modal view last.
    void draw(DrawContext& context) override;
    // To the modal view while there is one, else to the view added last that contains where.
    void mouseDown(DrawContext& context, GuiPoint& where) override;
    void mouseDoubleClick(DrawContext& context, GuiPoint& where) override;
    void mouseWheel(DrawContext& context, const GuiPoint& where, float notches, std::int32_t modifiers) override;
    void update(DrawContext& context) override;
    // Takes ownership; false (view not taken) when the list cannot grow.
    virtual bool addView(GuiView* view);
    // Takes the view out of the list without deleting it; false if it was not there.
    virtual bool removeView(GuiView* view);

    // Draws the view at once if it is in the list, else the whole frame.
    void drawView(GuiView* view);
    // Updates the views once the frame has been painted, while its window lives.
    void idle();
    // The frame holds one reference to its background; null clears it.
    void setBackground(GuiBitmap* bitmap);
    GuiBitmap* getBackground() const { return background; }
    // Refused (false) while any view is modal; null clears.
    bool setModalView(GuiView* view);
    GuiView* getModalView() const { return modalView; }
    void setFocusView(GuiView* view) { focusView = view; }
    GuiView* getFocusView() const { return focusView; }
    // The editor's throttled idle, for controls that track the mouse in a loop.
    void doIdle();

    const DeviceScale& getScale() const { return scale; }
    HWND getWindowHandle() const { return window; }
    HWND getParentWindow() const { return parentWindow; }
    EditorBase* getEditor() const { return editor; }
    bool isOpen() const { return open; }
    bool isFirstDrawPending() const { return firstDrawPending; }
    std::int32_t getViewCount() const { return static_cast<std::int32_t>(views.size()); }
    GuiView* getView(std::int32_t index) const { return views[static_cast<std::size_t>(index)]; }

    // The frame window's procedure: paints, button-down and double-click
    // messages, the mouse wheel and WM_DESTROY.
    static HOST_ENTRY LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static constexpr std::size_t viewGrowth = 10;

    void createWindow();
    void destroyWindow();
    void windowDestroyed();
    bool contains(const GuiView* view) const;
    // The view a click at where goes to, or null; a click outside the focus view takes its focus.
    GuiView* viewForClick(const GuiPoint& where);

    EditorBase* editor;
    HWND parentWindow;
    DeviceScale scale;
    GuiBitmap* background = nullptr;
    std::vector<GuiView*> views;  // owned; capacity grows in steps of viewGrowth
    GuiView* modalView = nullptr;
    GuiView* focusView = nullptr;
    bool firstDrawPending = true;
    bool open = true;
    HWND window = nullptr;
};
