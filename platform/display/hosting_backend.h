// A display backend that shows windows inside native windows of one kind.
#pragma once

#include "platform/display/display_backend.h"

namespace win32subset {

class HostingBackend : public DisplayBackend {
public:
    // Whether window is one this backend attached.
    virtual bool hosts(HWND window) const = 0;
    virtual bool hasWindows() const = 0;
};

}  // namespace win32subset
