#include "platform/display/x11_backend.h"

#include <cstdlib>
#include <cstring>

#include "platform/display/xlib_functions.h"
#include "platform/windows/rect_math.h"
#include "platform/windows/window_manager.h"

namespace win32subset {

namespace {

// X11 resource ids have 29 bits; anything larger is no window id.
constexpr std::uintptr_t kLargestXid = 0x1FFFFFFF;
constexpr long kChildEvents = ExposureMask | ButtonPressMask | StructureNotifyMask;

// Errors on our connection are counted, not fatal; errors on any other
// connection (the host's) go to the handler that was there before ours.
Display* trappedDisplay = nullptr;
int trappedErrors = 0;
XErrorHandler previousHandler = nullptr;

int onXError(Display* display, XErrorEvent* error) {
    if (display == trappedDisplay) {
        ++trappedErrors;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// True if no error arrived for what was sent since the count was taken.
bool noErrorsSince(const XlibFunctions& x, Display* display, int errorsBefore) {
    x.sync(display, False);
    return trappedErrors == errorsBefore;
}

int lowestBit(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int bitCount(unsigned long mask) {
    int bits = 0;
    for (; mask != 0; mask >>= 1) bits += static_cast<int>(mask & 1u);
    return bits;
}

// An 8-bit channel placed into a visual's colour mask.
unsigned long channelBits(std::uint32_t channel, unsigned long mask) {
    const int bits = bitCount(mask);
    const unsigned long scaled = bits <= 8 ? channel >> (8 - bits) : static_cast<unsigned long>(channel) << (bits - 8);
    return (scaled << lowestBit(mask)) & mask;
}

}  // namespace

X11Backend::~X11Backend() {
    while (!shown.empty()) detachWindow(shown.back()->window);
}

bool X11Backend::connect() {
    if (display != nullptr) return true;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    const XlibFunctions* x = xlibFunctions();
    if (x == nullptr) return false;
    display = x->openDisplay(nullptr);
    if (display == nullptr) return false;
    trappedDisplay = display;
    previousHandler = x->setErrorHandler(onXError);
    return true;
}

void X11Backend::disconnectIfUnused() {
    if (display == nullptr || !shown.empty()) return;
    const XlibFunctions& x = *xlibFunctions();
    x.closeDisplay(display);  // still trapped: errors of its last requests end here
    display = nullptr;
    trappedDisplay = nullptr;
    // Give the handler back, unless someone installed another since.
    XErrorHandler current = x.setErrorHandler(previousHandler);
    if (current != onXError) x.setErrorHandler(current);
    previousHandler = nullptr;
}

X11Backend::ShownWindow* X11Backend::find(HWND window) const {
    for (const auto& child : shown) {
        if (child->window == window) return child.get();
    }
    return nullptr;
}

X11Backend::ShownWindow* X11Backend::findNative(unsigned long xWindow) const {
    for (const auto& child : shown) {
        if (child->xWindow == xWindow) return child.get();
    }
    return nullptr;
}

unsigned long X11Backend::nativeWindowOf(HWND window) const {
    const ShownWindow* child = find(window);
    return child != nullptr ? child->xWindow : 0;
}

bool X11Backend::attachWindow(HWND window, HWND nativeParent, const RECT& frame) {
    const auto parent = reinterpret_cast<std::uintptr_t>(nativeParent);
    if (parent == 0 || parent > kLargestXid || isEmptyRect(frame)) return false;
    if (!connect()) return false;
    std::unique_ptr<ShownWindow> child = createChild(window, parent, frame);
    if (child == nullptr) {
        disconnectIfUnused();
        return false;
    }
    shown.push_back(std::move(child));
    return true;
}

std::unique_ptr<X11Backend::ShownWindow> X11Backend::createChild(HWND window, unsigned long parent, const RECT& frame) {
    const XlibFunctions& x = *xlibFunctions();
    const int errorsBefore = trappedErrors;
    XWindowAttributes parentAttributes;
    if (!x.getWindowAttributes(display, parent, &parentAttributes) || !noErrorsSince(x, display, errorsBefore))
        return nullptr;  // not a window, or not one this server knows

    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    XSetWindowAttributes attributes;
    std::memset(&attributes, 0, sizeof(attributes));
    attributes.background_pixmap = None;  // no clearing to a colour before our pixels come
    attributes.border_pixel = 0;
    attributes.event_mask = kChildEvents;
    auto child = std::make_unique<ShownWindow>();
    child->window = window;
    child->root = parentAttributes.root;
    child->xWindow = x.createWindow(display, parent, frame.left, frame.top, static_cast<unsigned>(width),
                                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                    CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
    child->image =
        x.createImage(display, parentAttributes.visual, static_cast<unsigned>(parentAttributes.depth), ZPixmap, 0,
                      nullptr, static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!noErrorsSince(x, display, errorsBefore) || child->image == nullptr) {
        destroyChild(*child);
        return nullptr;
    }
    child->gc = x.createGc(display, child->xWindow, 0, nullptr);
    child->imageData.assign(static_cast<std::size_t>(child->image->bytes_per_line) * height, 0);
    child->image->data = child->imageData.data();
    const XImage& image = *child->image;
    child->directPixels = image.bits_per_pixel == 32 && image.byte_order == LSBFirst && image.red_mask == 0xFF0000 &&
                          image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
    child->opaqueBits = parentAttributes.depth == 32 ? 0xFF000000u : 0;
    x.mapWindow(display, child->xWindow);
    x.flush(display);
    return child;
}

void X11Backend::destroyChild(ShownWindow& child) {
    const XlibFunctions& x = *xlibFunctions();
    if (child.image != nullptr) {
        child.image->data = nullptr;  // ours, not Xlib's to free
        XDestroyImage(child.image);
        child.image = nullptr;
    }
    if (child.gc != nullptr) x.freeGc(display, child.gc);
    child.gc = nullptr;
    // A window the server already destroyed (with its parent) answers an
    // error, which the trap swallows.
    if (child.xWindow != 0 && !child.gone) x.destroyWindow(display, child.xWindow);
    x.sync(display, False);
    child.xWindow = 0;
}

void X11Backend::detachWindow(HWND window) {
    for (auto it = shown.begin(); it != shown.end(); ++it) {
        if ((*it)->window != window) continue;
        destroyChild(**it);
        shown.erase(it);
        disconnectIfUnused();
        return;
    }
}

void X11Backend::fillImage(ShownWindow& child, const Surface& surface, const RECT& area) const {
    XImage& image = *child.image;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* source = &surface.at(0, y);
        if (child.directPixels) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(image.data + static_cast<std::size_t>(y) * image.bytes_per_line);
            for (int x = area.left; x < area.right; ++x) row[x] = source[x] | child.opaqueBits;
            continue;
        }
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t pixel = source[x];
            const unsigned long value = channelBits((pixel >> 16) & 0xFF, image.red_mask) |
                                        channelBits((pixel >> 8) & 0xFF, image.green_mask) |
                                        channelBits(pixel & 0xFF, image.blue_mask);
            XPutPixel(&image, x, y, value);
        }
    }
}

void X11Backend::surfaceUpdated(HWND window, const Surface& surface) {
    ShownWindow* child = find(window);
    if (child == nullptr || child->gone) return;
    const RECT whole{0, 0, child->image->width, child->image->height};
    const RECT area = intersection(child->shownSurface.takeChanges(surface), whole);
    if (isEmptyRect(area)) return;
    fillImage(*child, surface, area);
    const XlibFunctions& x = *xlibFunctions();
    x.putImage(display, child->xWindow, child->gc, child->image, area.left, area.top, area.left, area.top,
               static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top));
    x.flush(display);
}

void X11Backend::handle(const XEvent& event) {
    ShownWindow* child = findNative(event.xany.window);
    if (child == nullptr) return;
    switch (event.type) {
        case Expose: {
            const XExposeEvent& exposed = event.xexpose;
            const RECT lost{exposed.x, exposed.y, exposed.x + exposed.width, exposed.y + exposed.height};
            child->shownSurface.expose(lost);
            InvalidateRect(child->window, &lost, FALSE);
            break;
        }
        case ButtonPress: {
            const XButtonEvent& press = event.xbutton;
            const LPARAM where = MAKELPARAM(press.x, press.y);
            if (press.button == Button1) {
                const UINT message = doubleClicks.leftPress(child->window, press.x, press.y, press.time);
                postWindowMessage(child->window, message, MK_LBUTTON, where);
            }
            if (press.button == Button3) postWindowMessage(child->window, WM_RBUTTONDOWN, MK_RBUTTON, where);
            if (press.button == Button4 || press.button == Button5)
                postWheel(*child, press.button == Button4, press.state, press.x_root, press.y_root);
            break;
        }
        case DestroyNotify: child->gone = true; break;
        default: break;
    }
}

int X11Backend::eventDescriptor() const { return display != nullptr ? xlibFunctions()->connectionNumber(display) : -1; }

void X11Backend::postWheel(const ShownWindow& child, bool awayFromUser, unsigned state, int rootX, int rootY) {
    // As Windows sends it: one notch of WHEEL_DELTA, away from the user
    // (button 4) positive, the keys held in the low word, the cursor on the screen.
    const int delta = awayFromUser ? WHEEL_DELTA : -WHEEL_DELTA;
    const WORD keys =
        static_cast<WORD>(((state & ShiftMask) != 0 ? MK_SHIFT : 0) | ((state & ControlMask) != 0 ? MK_CONTROL : 0));
    const WPARAM wParam = MAKELONG(keys, static_cast<WORD>(static_cast<SHORT>(delta)));
    postWindowMessage(child.window, WM_MOUSEWHEEL, wParam, MAKELPARAM(rootX, rootY));
}

void X11Backend::pollEvents() {
    if (display == nullptr) return;
    const XlibFunctions& x = *xlibFunctions();
    while (display != nullptr && x.pending(display) > 0) {
        XEvent event;
        x.nextEvent(display, &event);
        handle(event);
    }
}

bool X11Backend::screenOrigin(HWND window, POINT* origin) {
    const ShownWindow* child = find(window);
    if (child == nullptr || child->gone) return false;
    int x = 0;
    int y = 0;
    Window ignored = 0;
    if (!xlibFunctions()->translateCoordinates(display, child->xWindow, child->root, 0, 0, &x, &y, &ignored))
        return false;
    *origin = {x, y};
    return true;
}

bool X11Backend::queryPointer(POINT* position, unsigned* buttonsAndModifiers) {
    if (shown.empty()) return false;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    if (!xlibFunctions()->queryPointer(display, shown.front()->root, &root, &child, &rootX, &rootY, &windowX, &windowY,
                                       &mask))
        return false;  // the pointer is on another screen
    *position = {rootX, rootY};
    *buttonsAndModifiers = mask;
    return true;
}

bool X11Backend::cursorPosition(POINT* position) {
    unsigned ignored = 0;
    return queryPointer(position, &ignored);
}

bool X11Backend::keyState(int virtualKey, bool* down) {
    unsigned bit = 0;
    switch (virtualKey) {
        case VK_LBUTTON: bit = Button1Mask; break;
        case VK_MBUTTON: bit = Button2Mask; break;
        case VK_RBUTTON: bit = Button3Mask; break;
        case VK_SHIFT: bit = ShiftMask; break;
        case VK_CONTROL: bit = ControlMask; break;
        case VK_MENU: bit = Mod1Mask; break;
        default: return false;
    }
    POINT ignored;
    unsigned mask = 0;
    if (!queryPointer(&ignored, &mask)) return false;
    *down = (mask & bit) != 0;
    return true;
}

}  // namespace win32subset
