#pragma once
// Pixel-by-pixel statements of the coverage rules, slow and obvious, to hold
// the scanline engines against.
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace gdi::test {

// Centre inside the polygons under the half-open crossing rule: an edge counts
// for a centre when the centre's row crosses it at or left of the centre.
inline bool InPolygon(const std::vector<POINT>& pts, const std::vector<int>& counts, int fillMode, int x, int y) {
    const std::int64_t cx2 = 2 * std::int64_t{x} + 1, cy2 = 2 * std::int64_t{y} + 1;  // doubled centre
    int wind = 0, parity = 0;
    std::size_t base = 0;
    for (int n : counts) {
        for (int j = 0; j < n; ++j) {
            POINT a = pts[base + j], b = pts[base + (j + 1) % n];
            int dir = 1;
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b), dir = -1;
            if (cy2 < 2 * std::int64_t{a.y} || cy2 >= 2 * std::int64_t{b.y}) continue;
            // cx >= a.x + (cy - a.y) * dx / dy, doubled.
            const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
            if ((cx2 - 2 * std::int64_t{a.x}) * dy >= (cy2 - 2 * std::int64_t{a.y}) * dx) wind += dir, parity ^= 1;
        }
        base += static_cast<std::size_t>(n);
    }
    return fillMode == 2 ? wind != 0 : parity != 0;
}

inline bool InEllipse(const RECT& b, int x, int y) {
    if (b.right <= b.left || b.bottom <= b.top) return false;
    const double rx = (b.right - b.left) / 2.0, ry = (b.bottom - b.top) / 2.0;
    const double dx = (x + 0.5 - (b.left + rx)) / rx, dy = (y + 0.5 - (b.top + ry)) / ry;
    return dx * dx + dy * dy < 1;
}

// Distance from a pixel centre to a segment of pen centres (odd pens on pixel
// centres, even pens on pixel corners).
inline double PenDistance(POINT a, POINT b, int width, int x, int y) {
    const double off = (width & 1) ? 0.5 : 0.0;
    const double ax = a.x + off, ay = a.y + off, bx = b.x + off, by = b.y + off;
    const double px = x + 0.5, py = y + 0.5;
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / l2 : 0;
    t = std::fmax(0, std::fmin(1, t));
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace gdi::test
