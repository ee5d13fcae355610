#pragma once
// Geometry engine of the Canvas: turns shapes into runs of pixels with the
// coverage rules of an 8-bit GDI device.  Pixel (x, y) is centred at
// (x + 0.5, y + 0.5); every function emits only pixels inside `limit`
// (half-open), and its work is bounded by that rectangle, not by the shape.
// The engines keep per-thread scratch buffers, so a sink must not call back
// into them while receiving spans.
#include <cstdint>
#include <vector>

#include "platform/gdi/raster/span_sink.h"
#include "platform/types.h"

namespace gdi::raster {

// Fill modes, with the values of ALTERNATE and WINDING.
constexpr int kAlternate = 1;
constexpr int kWinding = 2;

// Paints x in [r.left, r.right), y in [r.top, r.bottom).
void FillRect(const RECT& r, const RECT& limit, SpanSink& out);
// Pixels whose centre lies inside the polygons (all polygons form one shape).
void FillPolygon(const POINT* pts, const int* counts, int polygons, int fillMode, const RECT& limit,
                 SpanSink& out);
// Pixels whose centre lies inside the ellipse inscribed in the half-open box.
void FillEllipse(const RECT& box, const RECT& limit, SpanSink& out);
// The 1-pixel outline of FillEllipse's shape, each pixel once.
void FrameEllipse(const RECT& box, const RECT& limit, SpanSink& out);
// Width 0/1 pens: each segment from its start up to but excluding its end.
void CosmeticPolyline(const POINT* pts, int n, bool closed, const RECT& limit, SpanSink& out);
// Geometric pens (width >= 2): round caps and joins, each pixel once.
void WidePolyline(const POINT* pts, int n, bool closed, int width, const RECT& limit, SpanSink& out);
// Flattens cubic Beziers (n = 1 + 3k points) into a polyline starting at pts[0].
std::vector<POINT> FlattenBezier(const POINT* pts, int n);
// A closed polygon (last point not repeated) along the outline of FillEllipse's
// shape, for stroking an ellipse with a wide pen.
std::vector<POINT> EllipsePath(const RECT& box);

namespace detail {

// Floor of a / b for b > 0.
constexpr __int128 FloorDiv(__int128 a, __int128 b) {
    __int128 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// One cosmetic line as an exact rational walk along its major axis: step i
// (0 <= i < steps) is at major = m0 + i * sMajor and minor = n0 + round(i * dMinor / steps),
// halves rounding up.  The walk can start at any step, which lets clipped
// drawing skip the invisible part without visiting it.
struct LineWalk {
    bool xMajor;
    std::int64_t steps;    // max(|dx|, |dy|)
    std::int64_t sMajor;   // +1 or -1
    std::int64_t dMinor;   // signed minor delta
    std::int64_t m0, n0;   // start point, major and minor coordinate

    LineWalk(int x0, int y0, int x1, int y1) {
        std::int64_t dx = std::int64_t{x1} - x0, dy = std::int64_t{y1} - y0;
        std::int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
        xMajor = ax >= ay;
        steps = xMajor ? ax : ay;
        std::int64_t dMajor = xMajor ? dx : dy;
        sMajor = dMajor < 0 ? -1 : 1;
        dMinor = xMajor ? dy : dx;
        m0 = xMajor ? x0 : y0;
        n0 = xMajor ? y0 : x0;
    }
    std::int64_t minorAt(std::int64_t i) const {
        return n0 + static_cast<std::int64_t>(
                        FloorDiv(__int128{2} * i * dMinor + steps, __int128{2} * steps));
    }
};

}  // namespace detail

// Calls f(x, y) for every point LineDDA visits from (x0, y0) towards
// (x1, y1), in order, end point excluded: max(|dx|, |dy|) calls.  It is the
// cosmetic line's walk but for halves, which LineDDA rounds towards the start
// point where cosmetic lines round them up: the two differ wherever a line
// passes exactly between two pixels.
template <class F>
void LineDda(int x0, int y0, int x1, int y1, F&& f) {
    detail::LineWalk w(x0, y0, x1, y1);
    if (w.steps == 0) return;
    // minor = n0 + q, with 2*i*dMinor + bias = q*2*steps + r and 0 <= r < 2*steps;
    // the bias is steps, less one when the minor coordinate grows, so that
    // halves round towards n0 either way.
    const std::int64_t den = 2 * w.steps;
    std::int64_t q = 0, r = w.dMinor > 0 ? w.steps - 1 : w.steps;  // i = 0: q = 0, r = bias
    const std::int64_t inc = 2 * w.dMinor;
    for (std::int64_t i = 0; i < w.steps; ++i) {
        std::int64_t major = w.m0 + w.sMajor * i, minor = w.n0 + q;
        if (w.xMajor)
            f(static_cast<int>(major), static_cast<int>(minor));
        else
            f(static_cast<int>(minor), static_cast<int>(major));
        r += inc;
        while (r >= den) { r -= den; ++q; }
        while (r < 0) { r += den; --q; }
    }
}

}  // namespace gdi::raster
