// Rectangles and polygons.  Polygon edges are walked with exact integer
// arithmetic: on row y the edge crosses the row centre at xc, and the first
// pixel at or right of it is ceil(xc - 0.5), kept as quotient and remainder.
// Edges are oriented top-down before walking, so two polygons sharing an edge
// compute identical crossings and never both paint a pixel of it.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

using detail::FloorDiv;

struct Edge {
    // Hot while the edge is active: x is the first pixel at or right of the
    // crossing, ceil(A / den), with err = x*den - A in [0, den); per row A
    // grows by 2dx = den*stepX + stepErr, 0 <= stepErr < den.
    std::int64_t x, err;
    std::int64_t stepX, stepErr;
    std::int64_t den;      // 2 dy
    int yBottom;           // rows [yTop, yBottom), already clipped to the limit
    int dir;               // +1 downward in the source polygon, -1 upward
    int yTop;
};

struct Scratch {
    std::vector<Edge> edges;
    std::vector<Edge> active;
};

thread_local Scratch scratch;

// Floor and ceiling of a / b for b > 0.  Narrow values divide in one
// instruction; only coordinates near the ends of the range need 128 bits,
// whose division is a library call.
std::int64_t FloorDiv64(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
std::int64_t CeilDiv(__int128 a, std::int64_t b) {
    if (a >= INT64_MIN && a <= INT64_MAX) {
        const auto narrow = static_cast<std::int64_t>(a);
        const std::int64_t q = narrow / b;
        return (narrow % b != 0 && narrow > 0) ? q + 1 : q;
    }
    return static_cast<std::int64_t>(-FloorDiv(-a, b));
}

// Adds the edge (x0,y0)-(x1,y1) positioned at its first row inside [rowLo, rowHi).
void AddEdge(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int rowLo, int rowHi,
             std::vector<Edge>& edges) {
    if (y0 == y1) return;
    int dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    if (y1 <= rowLo || y0 >= rowHi) return;
    const std::int64_t dy = y1 - y0, dx = x1 - x0;
    Edge e;
    e.yTop = static_cast<int>(std::max<std::int64_t>(y0, rowLo));
    e.yBottom = static_cast<int>(std::min<std::int64_t>(y1, rowHi));
    e.dir = dir;
    e.den = 2 * dy;
    // A(k) = 2dy*x0 - dy + (2k + 1) dx for row y0 + k; the crossing minus a half is A / D.
    // Rows above the limit are skipped by starting at k directly.
    const std::int64_t k = e.yTop - y0;
    const __int128 a = __int128{2} * dy * x0 - dy + (__int128{2} * k + 1) * dx;
    e.x = CeilDiv(a, e.den);
    e.err = static_cast<std::int64_t>(__int128{e.x} * e.den - a);
    const std::int64_t inc = 2 * dx;
    e.stepX = FloorDiv64(inc, e.den);
    e.stepErr = inc - e.stepX * e.den;
    edges.push_back(e);
}

// Without a branch: whether the remainder wraps is as good as random from
// edge to edge, and a mispredicted jump costs more than the arithmetic.
void Advance(Edge& e) {
    e.err -= e.stepErr;
    const std::int64_t borrow = e.err >> 63;  // -1 when the remainder went negative
    e.err += e.den & borrow;
    e.x += e.stepX - borrow;
}

}  // namespace

void FillRect(const RECT& r, const RECT& limit, SpanSink& out) {
    const RECT c = detail::Intersect(r, limit);
    if (detail::EmptyRect(c)) return;
    for (int y = c.top; y < c.bottom; ++y) out.span(y, c.left, c.right);
}

void FillPolygon(const POINT* pts, const int* counts, int polygons, int fillMode, const RECT& limit,
                 SpanSink& out) {
    if (!pts || !counts || polygons <= 0 || detail::EmptyRect(limit)) return;
    Scratch& s = scratch;
    s.edges.clear();
    const POINT* p = pts;
    for (int i = 0; i < polygons; ++i) {
        const int n = counts[i];
        if (n <= 0) continue;
        for (int j = 0; j < n; ++j) {
            const POINT& a = p[j];
            const POINT& b = p[(j + 1) % n];
            AddEdge(a.x, a.y, b.x, b.y, limit.top, limit.bottom, s.edges);
        }
        p += n;
    }
    if (s.edges.empty()) return;
    std::sort(s.edges.begin(), s.edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    if (s.active.size() < s.edges.size()) s.active.resize(s.edges.size());

    // The scan keeps its state in locals: the sink is a virtual call, after
    // which anything reachable through the thread's scratch would be reloaded.
    const Edge* next = s.edges.data();
    const Edge* const last = next + s.edges.size();
    Edge* const active = s.active.data();
    std::size_t count = 0;
    const bool winding = fillMode == kWinding;
    const std::int64_t left = limit.left, right = limit.right;
    int y = next->yTop;
    while (next != last || count != 0) {
        if (count == 0) y = next->yTop;
        while (next != last && next->yTop == y) active[count++] = *next++;

        // The active edges stay sorted by crossing from row to row except
        // where they cross, so insertion sort is close to linear here.
        for (std::size_t i = 1; i < count; ++i) {
            if (active[i - 1].x <= active[i].x) continue;
            const Edge e = active[i];
            std::size_t j = i;
            for (; j > 0 && active[j - 1].x > e.x; --j) active[j] = active[j - 1];
            active[j] = e;
        }

        // Runs that touch are delivered as one.
        std::int64_t pendingL = 0, pendingR = 0;
        auto emit = [&](std::int64_t l, std::int64_t r) {
            l = std::max(l, left);
            r = std::min(r, right);
            if (l >= r) return;
            if (l == pendingR && pendingL < pendingR) {
                pendingR = r;
                return;
            }
            if (pendingL < pendingR) out.span(y, static_cast<int>(pendingL), static_cast<int>(pendingR));
            pendingL = l;
            pendingR = r;
        };
        if (winding) {
            int wind = 0;
            std::int64_t runStart = 0;
            for (std::size_t i = 0; i < count; ++i) {
                const bool wasInside = wind != 0;
                wind += active[i].dir;
                if (!wasInside)
                    runStart = active[i].x;
                else if (wind == 0)
                    emit(runStart, active[i].x);
            }
        } else {
            for (std::size_t i = 0; i + 1 < count; i += 2) emit(active[i].x, active[i + 1].x);
        }
        if (pendingL < pendingR) out.span(y, static_cast<int>(pendingL), static_cast<int>(pendingR));

        ++y;
        std::size_t keep = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (active[i].yBottom <= y) continue;
            Advance(active[i]);
            if (keep != i) active[keep] = active[i];
            ++keep;
        }
        count = keep;
    }
}

}  // namespace gdi::raster
