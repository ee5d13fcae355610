// Polygon coverage where the incremental edge walk is most likely to drift:
// vertices anywhere in the 32-bit range (crossings far beyond 64-bit
// intermediates), windows starting far below an edge's top, and edges walked
// over many rows.  Held pixel by pixel against an exact 128-bit statement of
// the crossing rule.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "pixels.h"
#include "platform/gdi/raster/raster.h"

namespace gdi::raster {
namespace {

using test::Pixels;

// The pixel centre (x + 0.5, y + 0.5) is inside: an edge counts for it when
// its row crosses the edge at or left of the centre (top end in, bottom out).
bool CentreInside(const std::vector<POINT>& pts, const std::vector<int>& counts, int fillMode, int x, int y) {
    const __int128 cx2 = 2 * __int128{x} + 1, cy2 = 2 * __int128{y} + 1;
    int wind = 0, parity = 0;
    std::size_t base = 0;
    for (int n : counts) {
        for (int j = 0; j < n; ++j) {
            POINT a = pts[base + j], b = pts[base + (j + 1) % n];
            int dir = 1;
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b), dir = -1;
            if (cy2 < 2 * __int128{a.y} || cy2 >= 2 * __int128{b.y}) continue;
            const __int128 dx = __int128{b.x} - a.x, dy = __int128{b.y} - a.y;
            if ((cx2 - 2 * __int128{a.x}) * dy >= (cy2 - 2 * __int128{a.y}) * dx) wind += dir, parity ^= 1;
        }
        base += static_cast<std::size_t>(n);
    }
    return fillMode == kWinding ? wind != 0 : parity != 0;
}

void ExpectMatches(const std::vector<POINT>& pts, const std::vector<int>& counts, int mode, const RECT& window,
                   int round) {
    Pixels p(window.right - window.left, window.bottom - window.top, window.left, window.top);
    FillPolygon(pts.data(), counts.data(), static_cast<int>(counts.size()), mode, window, p);
    p.expectClean();
    for (int y = window.top; y < window.bottom; ++y)
        for (int x = window.left; x < window.right; ++x)
            ASSERT_EQ(p.at(x, y), CentreInside(pts, counts, mode, x, y))
                << "round " << round << " pixel " << x << "," << y;
}

TEST(PolygonCoverage, VerticesAnywhereInTheCoordinateRangeCrossExactly) {
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> anywhere(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> nearby(-24, 88);
    std::uniform_int_distribution<int> corner(INT_MIN + 24, INT_MAX - 88);
    for (int round = 0; round < 400; ++round) {
        // A 64 x 64 window anywhere; each vertex either close to it or anywhere at all,
        // which gives steep, shallow and far-reaching edges through the window.
        const int left = corner(rng), top = corner(rng);
        const RECT window{left, top, left + 64, top + 64};
        std::vector<int> counts;
        std::vector<POINT> pts;
        for (int i = 0; i < 1 + round % 2; ++i) {
            counts.push_back(3 + static_cast<int>(rng() % 6));
            for (int j = 0; j < counts.back(); ++j) {
                const bool far = rng() % 3 == 0;
                pts.push_back(far ? POINT{anywhere(rng), anywhere(rng)} : POINT{left + nearby(rng), top + nearby(rng)});
            }
        }
        ExpectMatches(pts, counts, round % 2 ? kWinding : kAlternate, window, round);
    }
}

TEST(PolygonCoverage, LongWalksAndWindowsFarBelowTheTopStayExact) {
    std::mt19937 rng(37);
    std::uniform_int_distribution<int> x(-60, 90), y(-2000, 3000);
    for (int round = 0; round < 40; ++round) {
        // Edges spanning thousands of rows over a narrow strip: the walk
        // steps every row of the strip, or starts thousands of rows in.
        std::vector<POINT> pts;
        const std::vector<int> counts{4 + round % 5};
        for (int j = 0; j < counts[0]; ++j) pts.push_back({x(rng), y(rng)});
        const RECT window = round % 2 ? RECT{0, 0, 32, 1200} : RECT{0, 1800, 32, 1900};
        ExpectMatches(pts, counts, round % 4 < 2 ? kAlternate : kWinding, window, round);
    }
}

}  // namespace
}  // namespace gdi::raster
