#include "tests/fuzz/parent_window.h"

// No editor yet: nothing would draw into a window, so there is none to give.
ParentWindowSource* defaultParentWindows() { return nullptr; }
