#include "gui/gui_frame.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "frame/aeffect.h"
#include "frame/plugin_entry.h"
#include "gui/editor_base.h"
#include "gui/frame_window_class.h"

namespace {

constexpr DWORD childWindowStyle = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr int userDataIndex = -21;              // GWLP_USERDATA

GuiFrame* frameOf(HWND window) { return reinterpret_cast<GuiFrame*>(GetWindowLongPtrA(window, userDataIndex)); }

// Runs one event's drawing on the window's own device context.
template <typename Drawing>
void drawOnWindow(GuiFrame* frame, HWND window, Drawing drawing) {
    HDC deviceContext = GetDC(window);
    {
        DrawContext context(frame, deviceContext, window);
        context.setScale(frame->getScale());
        drawing(context);
    }
    ReleaseDC(window, deviceContext);
}

// A button message's client position (lParam: x in the low word, y in the high, both signed).
GuiPoint clientPoint(LPARAM lParam) {
    const auto position = static_cast<std::uint32_t>(lParam);
    return {static_cast<std::int16_t>(position & 0xFFFFu), static_cast<std::int16_t>(position >> 16)};
}

constexpr float kWheelDelta = 120.0f;    // one notch, as WM_MOUSEWHEEL counts it
constexpr WPARAM kShiftHeld = 0x0004;    // MK_SHIFT
constexpr WPARAM kControlHeld = 0x0008;  // MK_CONTROL

std::int32_t wheelModifiers(WPARAM wParam) {
    const auto keys = static_cast<WPARAM>(wParam & 0xFFFFu);
    return ((keys & kShiftHeld) != 0 ? keyShift : 0) | ((keys & kControlHeld) != 0 ? keyControl : 0);
}

float wheelNotches(WPARAM wParam) {
    return static_cast<float>(static_cast<std::int16_t>((wParam >> 16) & 0xFFFFu)) / kWheelDelta;
}

}  // namespace

GuiFrame::GuiFrame(const GuiRect& size, void* parentWindow, EditorBase* editor, const DeviceScale& scale)
    : GuiView(size), editor(editor), parentWindow(static_cast<HWND>(parentWindow)), scale(scale) {
    createWindow();
}

GuiFrame::~GuiFrame() {
    if (focusView != nullptr) {
        focusView->loseFocus();
        focusView = nullptr;
    }
    for (GuiView* view : views) delete view;
    views.clear();
    modalView = nullptr;
    if (background != nullptr) {
        background->release();
        background = nullptr;
    }
    destroyWindow();
}

void GuiFrame::createWindow() {
    if (parentWindow == nullptr) return;
    FrameWindowClass::acquire(&GuiFrame::windowProc);
    const GuiRect device = scale.toDevice(size);
    window = CreateWindowExA(0, FrameWindowClass::name(), "Window", childWindowStyle, 0, 0, device.width(),
                             device.height(), parentWindow, nullptr, static_cast<HINSTANCE>(moduleHandle), nullptr);
    if (window == nullptr) {
        FrameWindowClass::release();  // no window to account for
        return;
    }
    SetWindowLongPtrA(window, userDataIndex, reinterpret_cast<LONG_PTR>(this));
}

void GuiFrame::destroyWindow() {
    if (window == nullptr) return;
    // After WM_DESTROY the handle is stale and may already name another window.
    if (open) {
        SetWindowLongPtrA(window, userDataIndex, 0);  // messages during destruction find no frame
        DestroyWindow(window);
    }
    window = nullptr;
    FrameWindowClass::release();
}

void GuiFrame::windowDestroyed() {
    open = false;
    parentWindow = nullptr;
}

void GuiFrame::draw(DrawContext& context) {
    firstDrawPending = false;
    if (background != nullptr)
        background->draw(context, GuiRect(0, 0, background->getWidth(), background->getHeight()), GuiPoint(0, 0));
    for (std::size_t i = 0; i < views.size(); ++i) views[i]->draw(context);
    if (modalView != nullptr) modalView->draw(context);  // on top of everything
}

GuiView* GuiFrame::viewForClick(const GuiPoint& where) {
    if (focusView != nullptr && !where.isInside(focusView->getSize())) {
        focusView->loseFocus();
        focusView = nullptr;
    }
    if (modalView != nullptr) {
        // While a view is modal no other view receives the mouse.
        return where.isInside(modalView->getSize()) ? modalView : nullptr;
    }
    for (std::size_t i = views.size(); i-- > 0;)
        if (where.isInside(views[i]->getSize())) return views[i];
    return nullptr;
}

void GuiFrame::mouseDown(DrawContext& context, GuiPoint& where) {
    if (GuiView* view = viewForClick(where)) view->mouseDown(context, where);
}

void GuiFrame::mouseDoubleClick(DrawContext& context, GuiPoint& where) {
    if (GuiView* view = viewForClick(where)) view->mouseDoubleClick(context, where);
}

void GuiFrame::mouseWheel(DrawContext& context, const GuiPoint& where, float notches, std::int32_t modifiers) {
    if (GuiView* view = viewForClick(where)) view->mouseWheel(context, where, notches, modifiers);
}

void GuiFrame::update(DrawContext& context) {
    if (!open) return;
    if (modalView != nullptr) {
        modalView->update(context);
        return;
    }
    for (std::size_t i = 0; i < views.size(); ++i) views[i]->update(context);
}

bool GuiFrame::addView(GuiView* view) {
    if (views.size() == views.capacity()) {
        try {
            views.reserve(views.capacity() + viewGrowth);
        } catch (const std::bad_alloc&) {
            return false;  // the list stays as it was
        }
    }
    views.push_back(view);
    view->setParent(this);
    return true;
}

bool GuiFrame::removeView(GuiView* view) {
    auto found = std::find(views.begin(), views.end(), view);
    if (found == views.end()) return false;
    views.erase(found);
    return true;
}

bool GuiFrame::contains(const GuiView* view) const {
    return view != nullptr && std::find(views.begin(), views.end(), view) != views.end();
}

void GuiFrame::drawView(GuiView* view) {
    if (window == nullptr || !open) return;  // nothing to draw on
    const bool found = contains(view);
    drawOnWindow(this, window, [&](DrawContext& context) {
        if (found)
            view->draw(context);
        else
            draw(context);
    });
}

void GuiFrame::idle() {
    // Before the first paint there is nothing on screen to bring up to date.
    if (!open || firstDrawPending || window == nullptr) return;
    drawOnWindow(this, window, [&](DrawContext& context) { update(context); });
}

void GuiFrame::setBackground(GuiBitmap* bitmap) {
    // The new reference first, so that setting the same bitmap again keeps it alive.
    if (bitmap != nullptr) bitmap->addRef();
    if (background != nullptr) background->release();
    background = bitmap;
}

bool GuiFrame::setModalView(GuiView* view) {
    if (view != nullptr && modalView != nullptr) return false;
    modalView = view;
    return true;
}

void GuiFrame::doIdle() {
    if (editor != nullptr) editor->doIdle();
}

LRESULT CALLBACK GuiFrame::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GuiFrame* frame = frameOf(window);
    if (frame != nullptr) {
        switch (message) {
            case WM_PAINT: {
                RECT updateRect;
                if (GetUpdateRect(window, &updateRect, FALSE)) {
                    PAINTSTRUCT paint;
                    HDC deviceContext = BeginPaint(window, &paint);
                    {
                        // The whole frame; the paint context clips it to the invalid region.
                        DrawContext context(frame, deviceContext, window);
                        context.setScale(frame->getScale());
                        frame->draw(context);
                    }
                    EndPaint(window, &paint);
                }
                break;
            }
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN: {
                GuiPoint where = frame->getScale().toLayout(clientPoint(lParam));
                drawOnWindow(frame, window, [&](DrawContext& context) { frame->mouseDown(context, where); });
                break;
            }
            case WM_LBUTTONDBLCLK: {
                GuiPoint where = frame->getScale().toLayout(clientPoint(lParam));
                drawOnWindow(frame, window, [&](DrawContext& context) { frame->mouseDoubleClick(context, where); });
                break;
            }
            case WM_MOUSEWHEEL: {
                // The position comes in screen coordinates.
                const GuiPoint screen = clientPoint(lParam);
                POINT client{screen.h, screen.v};
                MapWindowPoints(nullptr, window, &client, 1);
                const GuiPoint where = frame->getScale().toLayout(GuiPoint(client.x, client.y));
                drawOnWindow(frame, window, [&](DrawContext& context) {
                    frame->mouseWheel(context, where, wheelNotches(wParam), wheelModifiers(wParam));
                });
                return 0;  // handled: not passed on to the parent window
            }
            case WM_DESTROY: frame->windowDestroyed(); break;
            default: break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
