// Cosmetic lines.  They walk detail::LineWalk from the first step inside the
// limit to the last, so a line through a huge coordinate range costs only its
// visible pixels.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/raster/clip.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

using detail::FloorDiv;
using detail::LineWalk;

// First i in [lo, hi) with pred(i) true, for pred false...true; hi when none.
template <class P>
std::int64_t FirstTrue(std::int64_t lo, std::int64_t hi, P pred) {
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (pred(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void Segment(const POINT& a, const POINT& b, const RECT& limit, SpanSink& out) {
    const LineWalk w(a.x, a.y, b.x, b.y);
    if (w.steps == 0) return;
    const std::int64_t majLo = w.xMajor ? limit.left : limit.top;
    const std::int64_t majHi = w.xMajor ? limit.right : limit.bottom;
    const std::int64_t minLo = w.xMajor ? limit.top : limit.left;
    const std::int64_t minHi = w.xMajor ? limit.bottom : limit.right;

    std::int64_t lo = 0, hi = w.steps;
    if (w.sMajor > 0) {
        lo = std::max(lo, majLo - w.m0);
        hi = std::min(hi, majHi - w.m0);
    } else {
        lo = std::max(lo, w.m0 - majHi + 1);
        hi = std::min(hi, w.m0 - majLo + 1);
    }
    if (lo >= hi) return;
    if (w.dMinor >= 0) {
        const std::int64_t l2 = FirstTrue(lo, hi, [&](std::int64_t i) { return w.minorAt(i) >= minLo; });
        hi = FirstTrue(l2, hi, [&](std::int64_t i) { return w.minorAt(i) >= minHi; });
        lo = l2;
    } else {
        const std::int64_t l2 = FirstTrue(lo, hi, [&](std::int64_t i) { return w.minorAt(i) < minHi; });
        hi = FirstTrue(l2, hi, [&](std::int64_t i) { return w.minorAt(i) < minLo; });
        lo = l2;
    }
    if (lo >= hi) return;

    // minor = n0 + q with 2*i*dMinor + steps = q * den + r, 0 <= r < den.
    const std::int64_t den = 2 * w.steps;
    const __int128 num = __int128{2} * lo * w.dMinor + w.steps;
    std::int64_t q = static_cast<std::int64_t>(FloorDiv(num, den));
    std::int64_t r = static_cast<std::int64_t>(num - __int128{q} * den);
    const std::int64_t inc = 2 * w.dMinor;

    if (!w.xMajor) {
        for (std::int64_t i = lo; i < hi; ++i) {
            const int x = static_cast<int>(w.n0 + q);
            out.span(static_cast<int>(w.m0 + w.sMajor * i), x, x + 1);
            r += inc;
            if (r >= den) r -= den, ++q;
            else if (r < 0) r += den, --q;
        }
        return;
    }
    // x-major: pixels of one row form a run.
    std::int64_t runStart = lo;
    for (std::int64_t i = lo; i < hi; ++i) {
        std::int64_t nq = q, nr = r + inc;
        if (nr >= den) nr -= den, ++nq;
        else if (nr < 0) nr += den, --nq;
        if (i + 1 == hi || nq != q) {
            const std::int64_t xa = w.m0 + w.sMajor * runStart, xb = w.m0 + w.sMajor * i;
            out.span(static_cast<int>(w.n0 + q), static_cast<int>(std::min(xa, xb)),
                     static_cast<int>(std::max(xa, xb) + 1));
            runStart = i + 1;
        }
        q = nq;
        r = nr;
    }
}

}  // namespace

void CosmeticPolyline(const POINT* pts, int n, bool closed, const RECT& limit, SpanSink& out) {
    if (!pts || n < 2 || detail::EmptyRect(limit)) return;
    for (int i = 0; i + 1 < n; ++i) Segment(pts[i], pts[i + 1], limit, out);
    if (closed) Segment(pts[n - 1], pts[0], limit, out);
}

}  // namespace gdi::raster
