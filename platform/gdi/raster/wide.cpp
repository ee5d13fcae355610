// Geometric (wide) pens: the union of round-capped, round-joined strokes.
// Each segment contributes, on every row it touches, the x-interval of its
// band (points within the pen radius of the segment, projected inside it) and
// of the disc at its start; the last point of an open path adds its own disc.
// Rows are gathered in chunks so memory stays bounded whatever the pen width,
// then each row's intervals are sorted and merged, delivering every pixel once.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

struct Seg {
    double ax, ay, bx, by;
    bool endDisc;      // also the disc at b
    int rowLo, rowHi;  // rows it may touch, within the limit
    // The band, as x-intervals in terms of ry = yc - ay.  Across the segment:
    // x in ax + ry * acrossSlope -+ acrossHalf (any x when horizontal and
    // |ry| < radius).  Along it: x between ax + ry * alongSlope and that plus
    // alongSpan (for vertical segments: 0 < ry * sign < len).
    bool band;
    bool horizontal, vertical;
    double acrossSlope, acrossHalf, alongSlope, alongSpan, len, uy;
};

struct Scratch {
    std::vector<Seg> segs;
    std::vector<std::vector<std::pair<double, double>>> rows;
};

thread_local Scratch scratch;

constexpr int kChunkRows = 64;

Seg MakeSeg(double ax, double ay, double bx, double by, double radius) {
    Seg s{};
    s.ax = ax, s.ay = ay, s.bx = bx, s.by = by;
    const double dx = bx - ax, dy = by - ay;
    s.len = std::hypot(dx, dy);
    s.band = s.len > 0;
    if (!s.band) return s;
    const double ux = dx / s.len, uy = dy / s.len;
    s.uy = uy;
    s.horizontal = uy == 0;
    s.vertical = ux == 0;
    if (!s.horizontal) {
        s.acrossSlope = ux / uy;
        s.acrossHalf = radius / std::fabs(uy);
    }
    if (!s.vertical) {
        s.alongSlope = -uy / ux;
        s.alongSpan = s.len / ux;
    }
    return s;
}

// floor(v) + 1 and ceil(v), clamped to [lo, hi]; cheaper than the library
// calls on this hot path.
inline int FirstAbove(double v, int lo, int hi) {
    if (!(v >= lo)) return lo;
    if (v >= hi) return hi;
    const int i = static_cast<int>(v);  // trunc(v), one above floor(v) for negative fractions
    return i <= v ? i + 1 : i;
}
inline int FirstAtOrAbove(double v, int lo, int hi) {
    if (!(v > lo)) return lo;
    if (v >= hi) return hi;
    const int i = static_cast<int>(v);
    return i < v ? i + 1 : i;
}

// Widens [lo, hi] to cover the open interval (l, h) when it is not empty.
inline void Cover(double l, double h, double& lo, double& hi) {
    if (l < h) lo = std::min(lo, l), hi = std::max(hi, h);
}

inline void Disc(double cx, double cy, double r2, double yc, double& lo, double& hi) {
    const double dy = yc - cy;
    const double h2 = r2 - dy * dy;
    if (h2 > 0) {
        const double h = std::sqrt(h2);
        Cover(cx - h, cx + h, lo, hi);
    }
}

inline void Band(const Seg& s, double radius, double yc, double& lo, double& hi) {
    if (!s.band) return;
    const double ry = yc - s.ay;
    double l = -HUGE_VAL, h = HUGE_VAL;
    if (s.horizontal) {
        if (!(std::fabs(ry) < radius)) return;
    } else {
        const double c = s.ax + ry * s.acrossSlope;
        l = c - s.acrossHalf, h = c + s.acrossHalf;
    }
    if (s.vertical) {
        const double along = ry * s.uy;
        if (!(along > 0 && along < s.len)) return;
    } else {
        const double a0 = s.ax + ry * s.alongSlope, a1 = a0 + s.alongSpan;
        l = std::max(l, std::min(a0, a1));
        h = std::min(h, std::max(a0, a1));
    }
    Cover(l, h, lo, hi);
}

}  // namespace

void WidePolyline(const POINT* pts, int n, bool closed, int width, const RECT& limit, SpanSink& out) {
    if (!pts || n < 1 || detail::EmptyRect(limit)) return;
    if (width < 2) {
        CosmeticPolyline(pts, n, closed, limit, out);
        return;
    }
    // Odd pens centre on the pixel centre, even pens on the pixel's top-left corner,
    // so a dot is exactly `width` pixels across.
    const double off = (width & 1) ? 0.5 : 0.0;
    const double radius = width / 2.0, r2 = radius * radius;
    const double left = limit.left, right = limit.right;

    Scratch& sc = scratch;
    sc.segs.clear();
    int rowLo = limit.bottom, rowHi = limit.top;
    auto addSeg = [&](const POINT& a, const POINT& b, bool endDisc) {
        Seg s = MakeSeg(a.x + off, a.y + off, b.x + off, b.y + off, radius);
        s.endDisc = endDisc;
        // Row centres y + 0.5 strictly within the radius of the segment's y-extent.
        s.rowLo = detail::ClampD(std::floor(std::min(s.ay, s.by) - radius - 0.5) + 1, limit.top, limit.bottom);
        s.rowHi = detail::ClampD(std::ceil(std::max(s.ay, s.by) + radius - 0.5), limit.top, limit.bottom);
        if (s.rowLo >= s.rowHi) return;
        rowLo = std::min(rowLo, s.rowLo);
        rowHi = std::max(rowHi, s.rowHi);
        sc.segs.push_back(s);
    };
    if (n == 1) {
        addSeg(pts[0], pts[0], false);
    } else {
        for (int i = 0; i + 1 < n; ++i) addSeg(pts[i], pts[i + 1], !closed && i + 2 == n);
        if (closed) addSeg(pts[n - 1], pts[0], false);
    }
    if (sc.segs.empty()) return;
    if (sc.rows.size() < kChunkRows) sc.rows.resize(kChunkRows);

    for (int c0 = rowLo; c0 < rowHi; c0 = c0 + std::min(kChunkRows, rowHi - c0)) {
        const int c1 = c0 + std::min(kChunkRows, rowHi - c0);
        for (const Seg& s : sc.segs) {
            const int y0 = std::max(c0, s.rowLo), y1 = std::min(c1, s.rowHi);
            for (int y = y0; y < y1; ++y) {
                const double yc = y + 0.5;
                double lo = HUGE_VAL, hi = -HUGE_VAL;
                Disc(s.ax, s.ay, r2, yc, lo, hi);
                if (s.endDisc) Disc(s.bx, s.by, r2, yc, lo, hi);
                Band(s, radius, yc, lo, hi);
                if (!(lo < hi) || hi <= left || lo >= right) continue;
                // Consecutive segments mostly overlap on a row: join them at once.
                // Open intervals that merely touch stay apart, since the point
                // between them belongs to neither.
                auto& row = sc.rows[y - c0];
                if (!row.empty() && lo < row.back().second && hi > row.back().first)
                    row.back() = {std::min(lo, row.back().first), std::max(hi, row.back().second)};
                else
                    row.emplace_back(lo, hi);
            }
        }
        for (int y = c0; y < c1; ++y) {
            auto& row = sc.rows[y - c0];
            if (row.empty()) continue;
            if (row.size() > 1) std::sort(row.begin(), row.end());
            // Pixel runs of disjoint open intervals never overlap; touching runs
            // go out as one.
            int l = 0, r = 0;
            auto flush = [&](double lo, double hi) {
                // Pixel centres x + 0.5 strictly inside (lo, hi).
                const int x0 = FirstAbove(lo - 0.5, limit.left, limit.right);
                const int x1 = FirstAtOrAbove(hi - 0.5, limit.left, limit.right);
                if (x0 >= x1) return;
                if (l < r && x0 <= r) {
                    r = std::max(r, x1);
                    return;
                }
                if (l < r) out.span(y, l, r);
                l = x0, r = x1;
            };
            double lo = row[0].first, hi = row[0].second;
            for (std::size_t i = 1; i < row.size(); ++i) {
                if (row[i].first >= hi) {
                    flush(lo, hi);
                    lo = row[i].first;
                }
                hi = std::max(hi, row[i].second);
            }
            flush(lo, hi);
            if (l < r) out.span(y, l, r);
            row.clear();
        }
    }
}

}  // namespace gdi::raster
