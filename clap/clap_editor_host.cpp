#include "clap/clap_editor_host.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "editor/reverb_editor.h"
#include "platform/display/display_backend.h"

ClapEditorHost::ClapEditorHost(const clap_host_t* host, EditorConnection& connection) : host(host) {
    editor.reset(new (std::nothrow) ReverbEditor(connection, nullptr));
    if (host != nullptr && host->get_extension != nullptr) {
        timers = static_cast<const clap_host_timer_support_t*>(host->get_extension(host, CLAP_EXT_TIMER_SUPPORT));
        descriptors =
            static_cast<const clap_host_posix_fd_support_t*>(host->get_extension(host, CLAP_EXT_POSIX_FD_SUPPORT));
        hostGui = static_cast<const clap_host_gui_t*>(host->get_extension(host, CLAP_EXT_GUI));
    }
}

ClapEditorHost::~ClapEditorHost() { destroy(); }

const char* ClapEditorHost::nativeApi() {
#if defined(_WIN32)
    return CLAP_WINDOW_API_WIN32;
#else
    return CLAP_WINDOW_API_X11;
#endif
}

bool ClapEditorHost::isApiSupported(const char* api, bool isFloating) {
    return !isFloating && api != nullptr && std::strcmp(api, nativeApi()) == 0;
}

bool ClapEditorHost::create(const char* api, bool isFloating) {
    if (created || editor == nullptr || !isApiSupported(api, isFloating)) return false;
    if (timers == nullptr || timers->register_timer == nullptr) return false;
    if (!timers->register_timer(host, kIdlePeriodMs, &idleTimer)) return false;
    created = true;
    return true;
}

void ClapEditorHost::destroy() {
    unwatchDisplay();  // before the close that may end the connection
    if (opened) editor->close();
    opened = false;
    if (created && idleTimer != CLAP_INVALID_ID && timers->unregister_timer != nullptr)
        timers->unregister_timer(host, idleTimer);
    idleTimer = CLAP_INVALID_ID;
    created = false;
}

bool ClapEditorHost::size(std::uint32_t& width, std::uint32_t& height) const {
    if (editor == nullptr) return false;
    ERect* rect = nullptr;
    if (editor->getRect(&rect) == 0 || rect == nullptr) return false;
    width = static_cast<std::uint32_t>(rect->right - rect->left);
    height = static_cast<std::uint32_t>(rect->bottom - rect->top);
    return true;
}

bool ClapEditorHost::setScale(double factor) {
    if (editor == nullptr || !(factor > 0.0)) return false;
    editor->setScale(static_cast<float>(factor));
    return true;
}

double ClapEditorHost::scale() const { return editor != nullptr ? editor->getScale() : 1.0; }

bool ClapEditorHost::adjustSize(std::uint32_t& width, std::uint32_t& height) const {
    if (editor == nullptr || editor->faceWidth() <= 0) return false;
    const double side = std::min(width, height);
    const float factor = ReverbEditor::supportedScale(static_cast<float>(side / editor->faceWidth()));
    width = height = static_cast<std::uint32_t>(static_cast<float>(editor->faceWidth()) * factor);
    return true;
}

bool ClapEditorHost::setSize(std::uint32_t width, std::uint32_t height) {
    std::uint32_t adjustedWidth = width, adjustedHeight = height;
    if (!adjustSize(adjustedWidth, adjustedHeight) || adjustedWidth != width || adjustedHeight != height) return false;
    editor->setScale(static_cast<float>(width) / static_cast<float>(editor->faceWidth()));
    return true;
}

void ClapEditorHost::restoreScale(double factor) {
    std::uint32_t widthBefore = 0, heightBefore = 0, width = 0, height = 0;
    size(widthBefore, heightBefore);
    if (!setScale(factor) || !size(width, height) || width == widthBefore) return;
    if (opened && hostGui != nullptr && hostGui->request_resize != nullptr)
        hostGui->request_resize(host, width, height);
}

bool ClapEditorHost::setParent(const clap_window_t* window) {
    if (!created || window == nullptr || !isApiSupported(window->api, false)) return false;
#if defined(_WIN32)
    void* parent = window->win32;
#else
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window->x11));
#endif
    opened = editor->open(parent) != 0;
    if (opened) watchDisplay();
    return opened;
}

void ClapEditorHost::watchDisplay() {
#if !defined(_WIN32)
    const int fd = win32subset::displayEventDescriptor();
    if (fd < 0 || descriptors == nullptr || descriptors->register_fd == nullptr) return;
    if (descriptors->register_fd(host, fd, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR)) watchedFd = fd;
#endif
}

void ClapEditorHost::unwatchDisplay() {
    if (watchedFd >= 0 && descriptors->unregister_fd != nullptr) descriptors->unregister_fd(host, watchedFd);
    watchedFd = -1;
}

void ClapEditorHost::onFd(int fd, clap_posix_fd_flags_t) {
    if (opened && fd == watchedFd) editor->idle();
}

void ClapEditorHost::onTimer(clap_id timerId) {
    if (opened && timerId == idleTimer) editor->idle();
}

void ClapEditorHost::parameterChanged(std::int32_t index, float value) {
    if (editor != nullptr) editor->setParameter(index, value);
}
