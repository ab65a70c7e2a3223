#include "platform/windows/window_manager.h"

#include <strings.h>
#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/display/native_backends.h"
#include "platform/gdi/window_dc.h"
#include "platform/windows/rect_math.h"
#include "platform/windows/user_input.h"

namespace win32subset {

namespace {

constexpr long long kMaxSurfacePixels = 1LL << 26;

std::uintptr_t handleValue(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

bool sameClassName(const std::string& name, LPCSTR other) { return strcasecmp(name.c_str(), other) == 0; }

}  // namespace

WindowManager::WindowManager() : backend(&builtInDisplayBackend()) {}

WindowManager& WindowManager::instance() {
    // Never destroyed, like the GDI objects its windows draw with.
    static auto* manager = new WindowManager;
    return *manager;
}

WindowClassRecord* WindowManager::findClass(LPCSTR name, HINSTANCE instance) {
    if (name == nullptr) return nullptr;
    for (WindowClassRecord& record : classes) {
        const bool nameMatches = IS_INTRESOURCE(name) ? record.atom == LOWORD(name) : sameClassName(record.name, name);
        if (nameMatches && record.instance == instance) return &record;
    }
    return nullptr;
}

ATOM WindowManager::registerClass(const WNDCLASSA& windowClass) {
    if (windowClass.lpfnWndProc == nullptr || windowClass.lpszClassName == nullptr ||
        IS_INTRESOURCE(windowClass.lpszClassName)) {
        return 0;
    }
    if (findClass(windowClass.lpszClassName, windowClass.hInstance) != nullptr) return 0;  // already registered
    WindowClassRecord record;
    record.name = windowClass.lpszClassName;
    record.instance = windowClass.hInstance;
    record.procedure = windowClass.lpfnWndProc;
    record.background = windowClass.hbrBackground;
    record.style = windowClass.style;
    record.atom = nextAtom++;
    classes.push_back(record);
    return record.atom;
}

bool WindowManager::unregisterClass(LPCSTR name, HINSTANCE instance) {
    WindowClassRecord* record = findClass(name, instance);
    if (record == nullptr || record->windowCount > 0) return false;  // a class with windows stays
    classes.remove_if([record](const WindowClassRecord& r) { return &r == record; });
    return true;
}

HWND WindowManager::create(LPCSTR className, DWORD style, const RECT& frame, HWND parent, HINSTANCE instance) {
    WindowClassRecord* windowClass = findClass(className, instance);
    if (windowClass == nullptr) return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child && parent == nullptr) return nullptr;  // a child needs its parent
    // A child of a window that is not ours may live inside a native one.
    const bool hosted = child && find(parent) == nullptr;

    auto record = std::make_unique<WindowRecord>();
    record->windowClass = windowClass;
    record->style = style;
    record->frame = frame;
    record->visible = (style & WS_VISIBLE) != 0;
    if (child && !hosted) {
        record->parent = parent;
    } else {
        const long long width = frame.right - frame.left;
        const long long height = frame.bottom - frame.top;
        if (width * height > kMaxSurfacePixels) return nullptr;
        try {
            record->surface = std::make_shared<Surface>(static_cast<int>(width), static_cast<int>(height), false);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        if (hosted) record->nativeParent = parent;
    }
    HWND window = addRecord(std::move(record), !child || hosted);
    if (window == nullptr) return nullptr;
    if (hosted && !backend->attachWindow(window, parent, frame)) {
        forget(window);
        return nullptr;
    }
    if (isShown(window)) invalidate(window, nullptr, true);  // a new visible window needs painting
    return window;
}

HWND WindowManager::addRecord(std::unique_ptr<WindowRecord> record, bool root) {
    WindowRecord* added = record.get();
    HWND window = reinterpret_cast<HWND>(windows.add(std::move(record)));
    if (window == nullptr) return nullptr;
    if (root) {
        topLevels.push_back(window);
    } else {
        find(added->parent)->children.push_back(window);
    }
    ++added->windowClass->windowCount;
    return window;
}

void WindowManager::collectSubtree(HWND window, std::vector<HWND>& list) const {
    list.push_back(window);
    for (HWND child : find(window)->children) collectSubtree(child, list);
}

bool WindowManager::destroy(HWND window) {
    WindowRecord* record = find(window);
    if (record == nullptr || record->destroying) return false;
    if (record->parent != nullptr && isShown(window)) invalidate(record->parent, &record->frame, true);

    // WM_DESTROY goes to the window first, then to its children, while all
    // of them still exist; then they are freed, children first.
    std::vector<HWND> subtree;
    collectSubtree(window, subtree);
    for (HWND w : subtree) find(w)->destroying = true;
    for (HWND w : subtree) {
        if (find(w) != nullptr) send(w, WM_DESTROY, 0, 0);
    }
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
        const WindowRecord* doomed = find(*it);
        if (doomed == nullptr) continue;
        if (doomed->nativeParent != nullptr) backend->detachWindow(*it);
        forget(*it);
    }
    return true;
}

void WindowManager::forget(HWND window) {
    WindowRecord* record = find(window);
    if (WindowRecord* parent = find(record->parent)) {
        parent->children.erase(std::remove(parent->children.begin(), parent->children.end(), window),
                               parent->children.end());
    }
    topLevels.erase(std::remove(topLevels.begin(), topLevels.end(), window), topLevels.end());
    queue.erase(std::remove_if(queue.begin(), queue.end(), [window](const MSG& m) { return m.hwnd == window; }),
                queue.end());
    --record->windowClass->windowCount;
    windows.remove(handleValue(window));
}

WindowRecord* WindowManager::find(HWND window) const { return windows.find(handleValue(window)); }

const WindowClassRecord* WindowManager::classOf(HWND window) const {
    const WindowRecord* record = find(window);
    return record != nullptr ? record->windowClass : nullptr;
}

bool WindowManager::isShown(HWND window) const {
    for (const WindowRecord* record = find(window); record != nullptr; record = find(record->parent)) {
        if (!record->visible) return false;
    }
    return find(window) != nullptr;
}

bool WindowManager::show(HWND window, bool visible) {
    WindowRecord* record = find(window);
    const bool wasVisible = record->visible;
    if (wasVisible == visible) return wasVisible;
    if (!visible && record->parent != nullptr && isShown(window)) invalidate(record->parent, &record->frame, true);
    record->visible = visible;
    if (visible && isShown(window)) invalidate(window, nullptr, true);
    return wasVisible;
}

RECT WindowManager::clientRect(HWND window) const {
    const WindowRecord* record = find(window);
    return {0, 0, record->frame.right - record->frame.left, record->frame.bottom - record->frame.top};
}

HWND WindowManager::topLevelOf(HWND window) const {
    while (find(window)->parent != nullptr) window = find(window)->parent;
    return window;
}

POINT WindowManager::surfaceOrigin(HWND window) const {
    POINT origin{0, 0};
    for (const WindowRecord* record = find(window); record->parent != nullptr; record = find(record->parent)) {
        origin.x += record->frame.left;
        origin.y += record->frame.top;
    }
    return origin;
}

POINT WindowManager::screenOrigin(HWND window) const {
    const HWND root = topLevelOf(window);
    const WindowRecord* top = find(root);
    POINT origin{top->frame.left, top->frame.top};
    if (top->nativeParent != nullptr && !backend->screenOrigin(root, &origin)) origin = {0, 0};
    const POINT inSurface = surfaceOrigin(window);
    return {origin.x + inSurface.x, origin.y + inSurface.y};
}

RECT WindowManager::visibleClientRect(HWND window) const {
    // The client area cut down by every ancestor's client area.
    RECT visible = clientRect(window);
    POINT offset{0, 0};
    for (HWND w = window; find(w)->parent != nullptr; w = find(w)->parent) {
        offset.x += find(w)->frame.left;
        offset.y += find(w)->frame.top;
        visible = intersection(visible, offsetBy(clientRect(find(w)->parent), -offset.x, -offset.y));
    }
    return visible;
}

bool WindowManager::isWithin(HWND window, HWND ancestor) const {
    for (HWND w = window; w != nullptr; w = find(w)->parent) {
        if (w == ancestor) return true;
    }
    return false;
}

void WindowManager::invalidate(HWND window, const RECT* rect, bool erase) {
    WindowRecord* record = find(window);
    if (record == nullptr || !isShown(window)) return;  // hidden windows are not painted
    const RECT area = rect != nullptr ? intersection(*rect, clientRect(window)) : clientRect(window);
    if (isEmptyRect(area)) return;
    record->update = boundingUnion(record->hasUpdate ? record->update : RECT{0, 0, 0, 0}, area);
    record->hasUpdate = true;
    record->erasePending = record->erasePending || erase;
    // Children drawn over this area must be painted again after it.
    for (HWND child : record->children) {
        const RECT childFrame = find(child)->frame;
        const RECT overlap = intersection(area, childFrame);
        if (isEmptyRect(overlap)) continue;
        const RECT inChild = offsetBy(overlap, -childFrame.left, -childFrame.top);
        invalidate(child, &inChild, erase);
    }
}

void WindowManager::invalidateAll(bool erase) {
    for (HWND top : topLevels) invalidate(top, nullptr, erase);
}

void WindowManager::validate(HWND window) {
    WindowRecord* record = find(window);
    record->hasUpdate = false;
    record->update = {0, 0, 0, 0};
    record->erasePending = false;
}

bool WindowManager::eraseIfPending(HWND window, HDC dc) {
    WindowRecord* record = find(window);
    if (!record->erasePending) return false;
    record->erasePending = false;
    return send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
}

HDC WindowManager::openDc(HWND window, const RECT* paintClip) {
    RECT clip{0, 0, 0, 0};
    if (isShown(window)) clip = visibleClientRect(window);
    if (paintClip != nullptr) clip = intersection(clip, *paintClip);
    return createWindowDc(find(topLevelOf(window))->surface, surfaceOrigin(window), clip);
}

bool WindowManager::closeDc(HWND window, HDC dc) {
    if (!deleteWindowDc(dc)) return false;
    if (find(window) != nullptr) {
        HWND top = topLevelOf(window);
        backend->surfaceUpdated(top, *find(top)->surface);
    }
    return true;
}

LRESULT WindowManager::send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowRecord* record = find(window);
    if (record == nullptr) return 0;
    ++procedureDepth;
    const LRESULT result = record->windowClass->procedure(window, message, wParam, lParam);
    --procedureDepth;
    return result;
}

bool WindowManager::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (find(window) == nullptr) return false;
    MSG m;
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    m.pt = currentCursorPosition();
    queue.push_back(m);
    return true;
}

HWND WindowManager::nextToPaint(HWND window, HWND filter) const {
    const WindowRecord* record = find(window);
    if (!record->visible) return nullptr;
    if (record->hasUpdate && (filter == nullptr || isWithin(window, filter))) return window;
    for (HWND child : record->children) {
        if (HWND found = nextToPaint(child, filter)) return found;
    }
    return nullptr;
}

bool WindowManager::peek(MSG* message, HWND filter, UINT first, UINT last, bool remove) {
    backend->pollEvents();
    auto inRange = [first, last](UINT m) { return (first == 0 && last == 0) || (m >= first && m <= last); };
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!inRange(it->message) || (filter != nullptr && !isWithin(it->hwnd, filter))) continue;
        *message = *it;
        if (remove) queue.erase(it);
        return true;
    }
    // WM_PAINT only when nothing else is waiting: parents before children.
    if (!inRange(WM_PAINT)) return false;
    for (HWND top : topLevels) {
        HWND dirty = nextToPaint(top, filter);
        if (dirty == nullptr) continue;
        message->hwnd = dirty;
        message->message = WM_PAINT;
        message->wParam = 0;
        message->lParam = 0;
        message->time = GetTickCount();
        message->pt = currentCursorPosition();
        return true;  // stays until the window is validated
    }
    return false;
}

void WindowManager::updateNow(HWND window) {
    if (isShown(window) && find(window)->hasUpdate) send(window, WM_PAINT, 0, 0);
    if (find(window) == nullptr) return;
    const std::vector<HWND> children = find(window)->children;
    for (HWND child : children) {
        if (find(child) != nullptr) updateNow(child);
    }
}

void WindowManager::setBackend(DisplayBackend* newBackend) {
    backend = newBackend != nullptr ? newBackend : &builtInDisplayBackend();
}

std::vector<HWND> WindowManager::hostedWindows() const {
    std::vector<HWND> hosted;
    for (HWND top : topLevels) {
        if (find(top)->nativeParent != nullptr) hosted.push_back(top);
    }
    return hosted;
}

void setDisplayBackend(DisplayBackend* backend) { WindowManager::instance().setBackend(backend); }

int displayEventDescriptor() { return WindowManager::instance().displayBackend().eventDescriptor(); }

bool postWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowManager::instance().post(window, message, wParam, lParam);
}

}  // namespace win32subset
