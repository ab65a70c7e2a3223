// Rectangles with right and bottom exclusive, as Windows keeps them.
#pragma once

#include <algorithm>

#include "platform/win32.h"

namespace win32subset {

inline bool isEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline RECT intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return isEmptyRect(r) ? RECT{0, 0, 0, 0} : r;
}

inline RECT boundingUnion(const RECT& a, const RECT& b) {
    if (isEmptyRect(a)) return b;
    if (isEmptyRect(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

inline RECT offsetBy(const RECT& r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace win32subset
