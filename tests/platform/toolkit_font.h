// The logical font the toolkit asks for, for tests that draw text as it does.
#pragma once

#include "platform/win32.h"

// A face at a character height in pixels; the caller deletes it.
HFONT createToolkitFont(const char* face, int height);
