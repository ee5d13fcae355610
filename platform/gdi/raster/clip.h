#pragma once
// Small helpers shared by the geometry engines.
#include <algorithm>
#include <cstdint>

#include "platform/types.h"

namespace gdi::raster::detail {

inline bool EmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

inline RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Clamps a 64-bit coordinate to [lo, hi].
inline int Clamp(std::int64_t v, int lo, int hi) {
    return static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(v, lo), hi));
}

// Clamps a double coordinate into [lo, hi] (NaN gives lo).
inline int ClampD(double v, int lo, int hi) {
    if (!(v > lo)) return lo;
    if (v >= hi) return hi;
    return static_cast<int>(v);
}

}  // namespace gdi::raster::detail
