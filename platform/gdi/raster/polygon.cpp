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
    int yTop, yBottom;     // rows [yTop, yBottom), already clipped to the limit
    int dir;               // +1 downward in the source polygon, -1 upward
    std::int64_t q, r;     // first pixel ceil(A / D) on the current row; r = q*D - A in [0, D)
    std::int64_t stepQ, stepR;  // per row, A grows by 2dx = D*stepQ + stepR
    std::int64_t den;      // D = 2 dy
};

struct Scratch {
    std::vector<Edge> edges;
    std::vector<Edge> active;
};

thread_local Scratch scratch;

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
    const std::int64_t k = e.yTop - y0;
    const __int128 a = __int128{2} * dy * x0 - dy + (__int128{2} * k + 1) * dx;
    const __int128 q = -FloorDiv(-a, e.den);  // ceil
    e.q = static_cast<std::int64_t>(q);
    e.r = static_cast<std::int64_t>(q * e.den - a);
    const std::int64_t inc = 2 * dx;
    e.stepQ = static_cast<std::int64_t>(FloorDiv(inc, e.den));
    e.stepR = inc - e.stepQ * e.den;
    edges.push_back(e);
}

void Advance(Edge& e) {
    e.q += e.stepQ;
    e.r -= e.stepR;
    if (e.r < 0) {
        e.r += e.den;
        ++e.q;
    }
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

    const bool winding = fillMode == kWinding;
    std::vector<Edge>& active = s.active;
    active.clear();
    std::size_t next = 0;
    int y = s.edges.front().yTop;
    while (next < s.edges.size() || !active.empty()) {
        if (active.empty()) y = std::max(y, s.edges[next].yTop);
        while (next < s.edges.size() && s.edges[next].yTop == y) active.push_back(s.edges[next++]);

        // The active edges stay sorted by crossing from row to row except
        // where they cross, so insertion sort is close to linear here.
        for (std::size_t i = 1; i < active.size(); ++i) {
            if (active[i - 1].q <= active[i].q) continue;
            const Edge e = active[i];
            std::size_t j = i;
            for (; j > 0 && active[j - 1].q > e.q; --j) active[j] = active[j - 1];
            active[j] = e;
        }

        // Runs that touch are delivered as one.
        std::int64_t pendingL = 0, pendingR = 0;
        bool pending = false;
        auto emit = [&](std::int64_t l, std::int64_t r) {
            l = std::max<std::int64_t>(l, limit.left);
            r = std::min<std::int64_t>(r, limit.right);
            if (l >= r) return;
            if (pending && l == pendingR) {
                pendingR = r;
                return;
            }
            if (pending) out.span(y, static_cast<int>(pendingL), static_cast<int>(pendingR));
            pendingL = l;
            pendingR = r;
            pending = true;
        };
        if (winding) {
            int wind = 0;
            std::int64_t runStart = 0;
            for (const Edge& e : active) {
                const bool wasInside = wind != 0;
                wind += e.dir;
                if (!wasInside)
                    runStart = e.q;
                else if (wind == 0)
                    emit(runStart, e.q);
            }
        } else {
            for (std::size_t i = 0; i + 1 < active.size(); i += 2) emit(active[i].q, active[i + 1].q);
        }
        if (pending) out.span(y, static_cast<int>(pendingL), static_cast<int>(pendingR));

        ++y;
        std::size_t keep = 0;
        for (std::size_t i = 0; i < active.size(); ++i) {
            if (active[i].yBottom <= y) continue;
            Advance(active[i]);
            if (keep != i) active[keep] = active[i];
            ++keep;
        }
        active.resize(keep);
    }
}

}  // namespace gdi::raster
