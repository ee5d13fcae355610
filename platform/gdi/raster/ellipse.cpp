// Ellipses.  A pixel belongs to the ellipse in box (l, t, r, b) when its
// centre is strictly inside; doubling every coordinate makes the test exact
// in integers: X = 2x + 1 - (l + r), Y = 2y + 1 - (t + b), W = r - l,
// H = b - t, inside when X^2 H^2 + Y^2 W^2 < W^2 H^2.  W and H are below 2^32,
// so the products fit an unsigned 128-bit integer.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

using U128 = unsigned __int128;

struct EllipseRows {
    std::int64_t l, t, r, b;
    std::uint64_t w, h;
    U128 w2, h2;

    explicit EllipseRows(const RECT& box)
        : l(box.left), t(box.top), r(box.right), b(box.bottom),
          w(static_cast<std::uint64_t>(r - l)), h(static_cast<std::uint64_t>(b - t)),
          w2(U128{w} * w), h2(U128{h} * h) {}

    bool empty() const { return r <= l || b <= t; }

    // Pixels [x0, x1) of row y; x0 >= x1 when the row is empty.
    void row(std::int64_t y, std::int64_t& x0, std::int64_t& x1) const {
        x0 = x1 = 0;
        if (y < t || y >= b) return;
        const std::int64_t ys = 2 * y + 1 - (t + b);
        const std::uint64_t ay = static_cast<std::uint64_t>(ys < 0 ? -ys : ys);
        const U128 y2 = U128{ay} * ay;
        if (y2 >= h2) return;
        const U128 rhs = w2 * (h2 - y2);  // m^2 h^2 < rhs
        const std::int64_t s = l + r;
        const std::uint64_t parity = static_cast<std::uint64_t>(s & 1) ^ 1u;  // |X| is odd when s is even
        double est = std::sqrt(static_cast<double>(h2 - y2)) / static_cast<double>(h) * static_cast<double>(w);
        std::uint64_t m = est >= static_cast<double>(w) ? w : static_cast<std::uint64_t>(est);
        auto fits = [&](std::uint64_t v) { return U128{v} * v * h2 < rhs; };
        while (m < w && fits(m + 1)) ++m;
        while (m > 0 && !fits(m)) --m;
        if ((m & 1) != parity) {
            if (m == 0) return;
            --m;
        }
        const std::int64_t mi = static_cast<std::int64_t>(m);
        // x = (X + s - 1) / 2, exact because X + s - 1 is even.
        x0 = (-mi + s - 1) / 2;
        x1 = (mi + s - 1) / 2 + 1;
    }
};

void EmitClipped(int y, std::int64_t x0, std::int64_t x1, const RECT& limit, SpanSink& out) {
    x0 = std::max<std::int64_t>(x0, limit.left);
    x1 = std::min<std::int64_t>(x1, limit.right);
    if (x0 < x1) out.span(y, static_cast<int>(x0), static_cast<int>(x1));
}

}  // namespace

void FillEllipse(const RECT& box, const RECT& limit, SpanSink& out) {
    const EllipseRows e(box);
    if (e.empty()) return;
    const RECT c = detail::Intersect(box, limit);
    if (detail::EmptyRect(c)) return;
    for (int y = c.top; y < c.bottom; ++y) {
        std::int64_t x0, x1;
        e.row(y, x0, x1);
        EmitClipped(y, x0, x1, limit, out);
    }
}

void FrameEllipse(const RECT& box, const RECT& limit, SpanSink& out) {
    const EllipseRows e(box);
    if (e.empty()) return;
    const RECT c = detail::Intersect(box, limit);
    if (detail::EmptyRect(c)) return;
    // A pixel is on the outline when one of its four neighbours is outside.
    std::int64_t a0, a1, b0, b1, n0, n1;
    e.row(std::int64_t{c.top} - 1, a0, a1);
    e.row(c.top, b0, b1);
    for (int y = c.top; y < c.bottom; ++y) {
        e.row(std::int64_t{y} + 1, n0, n1);
        if (b0 < b1) {
            const std::int64_t in0 = std::max({b0 + 1, a0, n0});
            const std::int64_t in1 = std::min({b1 - 1, a1, n1});
            if (a0 >= a1 || n0 >= n1 || in0 >= in1) {
                EmitClipped(y, b0, b1, limit, out);
            } else {
                EmitClipped(y, b0, in0, limit, out);
                EmitClipped(y, in1, b1, limit, out);
            }
        }
        a0 = b0, a1 = b1, b0 = n0, b1 = n1;
    }
}

std::vector<POINT> EllipsePath(const RECT& box) {
    std::vector<POINT> path;
    if (box.right <= box.left || box.bottom <= box.top) return path;
    // The path runs through the centres of the outline pixels.
    const double cx = (static_cast<double>(box.left) + box.right - 1) / 2;
    const double cy = (static_cast<double>(box.top) + box.bottom - 1) / 2;
    const double rx = (static_cast<double>(box.right) - box.left - 1) / 2;
    const double ry = (static_cast<double>(box.bottom) - box.top - 1) / 2;
    const double rmax = std::max(rx, ry);
    // Enough vertices that a chord strays at most a quarter pixel from the curve.
    int n = 8;
    if (rmax > 0.25) {
        const double step = 2 * std::acos(1 - 0.25 / rmax);
        n = static_cast<int>(std::clamp(std::ceil(2 * std::numbers::pi / step), 8.0, 16384.0));
    }
    path.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        const POINT p{detail::Clamp(std::llround(cx + rx * std::cos(a)), INT32_MIN, INT32_MAX),
                      detail::Clamp(std::llround(cy + ry * std::sin(a)), INT32_MIN, INT32_MAX)};
        if (!path.empty() && path.back().x == p.x && path.back().y == p.y) continue;
        path.push_back(p);
    }
    while (path.size() > 1 && path.back().x == path.front().x && path.back().y == path.front().y) path.pop_back();
    return path;
}

}  // namespace gdi::raster
