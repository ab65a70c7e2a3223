#include "tests/fuzz/parent_window.h"

#include <cstring>

#include "frame/plugin_entry.h"
#include "platform/win32.h"

namespace {

const char* const kHostClassName = "RoomplateTestHostWindow";

#if defined(_WIN32)
// A test program is no library: nothing calls DllMain, so the program's own
// module holds the editor's bitmaps and window class.
const bool moduleKnown = [] {
    moduleHandle = GetModuleHandleA(nullptr);
    return true;
}();
#endif

// Host windows of the Win32 subset (real ones on Windows): each editor opens in
// a child window of one top-level window that stays for the process's life.
class HostChildWindows final : public ParentWindowSource {
public:
    void* createParent() override {
        return CreateWindowExA(0, kHostClassName, "Host", WS_CHILD | WS_VISIBLE, 0, 0, 600, 600, topLevel(), nullptr,
                               module(), nullptr);
    }
    void destroyParent(void* window) override { DestroyWindow(static_cast<HWND>(window)); }
    void pumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

private:
    static HINSTANCE module() { return static_cast<HINSTANCE>(moduleHandle); }
    // Made by the first caller, on its thread.
    static HWND topLevel() {
        static const HWND window = [] {
            WNDCLASSA windowClass;
            std::memset(&windowClass, 0, sizeof windowClass);
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = module();
            windowClass.lpszClassName = kHostClassName;
            RegisterClassA(&windowClass);
            return CreateWindowExA(0, kHostClassName, "Roomplate tests", WS_POPUP | WS_VISIBLE, 0, 0, 800, 800, nullptr,
                                   nullptr, module(), nullptr);
        }();
        return window;
    }
};

}  // namespace

ParentWindowSource* defaultParentWindows() {
    static HostChildWindows windows;
    return &windows;
}
