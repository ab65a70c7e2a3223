// Cursor, buttons, keys and the tick count: scripted by tests, otherwise
// neutral (nothing held, cursor at 0, 0) and a monotonic clock.
#include "platform/windows/user_input.h"

#include <chrono>
#include <vector>

#include "platform/win32_testing.h"
#include "platform/windows/window_manager.h"

namespace win32subset {

namespace {

struct InputScript {
    std::vector<win32testing::InputStep> steps;
    std::size_t current = 0;
    bool pastEnd = false;  // the last step was left: released at its position
    int polls = 0;
};

struct Clock {
    bool frozen = false;
    DWORD frozenMs = 0;
};

InputScript& script() {
    static InputScript state;
    return state;
}

Clock& clock() {
    static Clock state;
    return state;
}

unsigned heldNow() {
    const InputScript& s = script();
    if (s.steps.empty() || s.pastEnd) return 0;
    return s.steps[s.current].held;
}

void enterStep(std::size_t index) {
    InputScript& s = script();
    s.current = index;
    if (clock().frozen) clock().frozenMs += s.steps[index].elapsedMs;
}

void advanceStep() {
    InputScript& s = script();
    if (s.steps.empty()) return;
    ++s.polls;
    if (s.current + 1 < s.steps.size()) {
        enterStep(s.current + 1);
    } else {
        s.pastEnd = true;
    }
}

}  // namespace

bool scriptActive() { return !script().steps.empty(); }

// A script set by a test wins over the live input of a display.
DisplayBackend* liveInput() { return scriptActive() ? nullptr : &WindowManager::instance().displayBackend(); }

POINT currentCursorPosition() {
    const InputScript& s = script();
    if (s.steps.empty()) return {0, 0};
    return {s.steps[s.current].cursorX, s.steps[s.current].cursorY};
}

}  // namespace win32subset

namespace win32testing {

void scriptInput(const std::vector<InputStep>& steps) {
    win32subset::InputScript& s = win32subset::script();
    s = win32subset::InputScript();
    s.steps = steps;
    if (!steps.empty()) win32subset::enterStep(0);
}

void clearInputScript() { win32subset::script() = win32subset::InputScript(); }

int cursorPollCount() { return win32subset::script().polls; }

void setTickCount(DWORD ms) {
    win32subset::clock().frozen = true;
    win32subset::clock().frozenMs = ms;
}

void advanceTickCount(DWORD ms) {
    if (!win32subset::clock().frozen) setTickCount(GetTickCount());
    win32subset::clock().frozenMs += ms;
}

void useRealClock() { win32subset::clock().frozen = false; }

}  // namespace win32testing

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr) return FALSE;
    win32subset::DisplayBackend* live = win32subset::liveInput();
    if (live != nullptr && live->cursorPosition(lpPoint)) return TRUE;
    win32subset::advanceStep();
    *lpPoint = win32subset::currentCursorPosition();
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
    unsigned bit = 0;
    switch (vKey) {
        case VK_LBUTTON: bit = win32testing::heldLeft; break;
        case VK_MBUTTON: bit = win32testing::heldMiddle; break;
        case VK_RBUTTON: bit = win32testing::heldRight; break;
        case VK_SHIFT: bit = win32testing::heldShift; break;
        case VK_CONTROL: bit = win32testing::heldControl; break;
        case VK_MENU: bit = win32testing::heldAlt; break;
        default: return 0;
    }
    bool down = false;
    win32subset::DisplayBackend* live = win32subset::liveInput();
    if (live != nullptr && live->keyState(vKey, &down)) return down ? static_cast<SHORT>(0x8000) : 0;
    // The top bit says "down now"; the "pressed since the last query" bit is never set.
    return (win32subset::heldNow() & bit) != 0 ? static_cast<SHORT>(0x8000) : 0;
}

DWORD WINAPI GetTickCount(void) {
    if (win32subset::clock().frozen) return win32subset::clock().frozenMs;
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}
