// The input state behind GetCursorPos and GetAsyncKeyState, for the window
// layer's messages (which carry the cursor position without moving a script).
#pragma once

#include "platform/win32.h"

namespace win32subset {

POINT currentCursorPosition();

}  // namespace win32subset
