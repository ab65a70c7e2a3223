// What the window layer needs of GDI: device contexts that draw into a
// top-level window's surface. Nothing else of GDI's objects is visible to it.
#pragma once

#include <memory>

#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace win32subset {

// A DC whose (0, 0) is origin in the surface and which draws only inside
// clip (in its own coordinates); a null surface draws nothing.
HDC createWindowDc(std::shared_ptr<Surface> surface, POINT origin, const RECT& clip);
bool isWindowDc(HDC dc);
// False, and nothing deleted, for anything but a window DC.
bool deleteWindowDc(HDC dc);

}  // namespace win32subset
