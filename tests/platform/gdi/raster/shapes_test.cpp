#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>

#include "pixels.h"
#include "platform/gdi/raster/raster.h"
#include "reference.h"

namespace gdi::raster {
namespace {

using test::Pixels;

TEST(FillRect, PaintsHalfOpenBoxWithinLimit) {
    Pixels p(20, 20);
    FillRect({2, 3, 7, 9}, p.area(), p);
    p.expectClean();
    EXPECT_EQ(p.count(), 5 * 6);
    EXPECT_TRUE(p.at(2, 3));
    EXPECT_TRUE(p.at(6, 8));
    EXPECT_FALSE(p.at(7, 8));
    EXPECT_FALSE(p.at(6, 9));

    Pixels q(20, 20);
    FillRect({5, 5, 5, 9}, q.area(), q);
    FillRect({-100, -100, 1000, 1000}, {4, 4, 8, 6}, q);
    q.expectClean();
    EXPECT_EQ(q.count(), 4 * 2);
}

TEST(FillPolygon, SquareFillsExactlyItsPixels) {
    const POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const int n = 4;
    Pixels p(12, 12);
    FillPolygon(sq, &n, 1, kAlternate, p.area(), p);
    p.expectClean();
    EXPECT_EQ(p.count(), 100);
    EXPECT_EQ(p.inkBounds().right, 10);
    EXPECT_EQ(p.inkBounds().bottom, 10);
}

TEST(FillPolygon, NeighboursSharingAnEdgeNeverOverlap) {
    // Four triangles fanned around an off-grid centre tile the square.
    const POINT c{13, 7};
    const POINT corners[] = {{0, 0}, {31, 0}, {31, 23}, {0, 23}};
    Pixels p(40, 40);
    for (int i = 0; i < 4; ++i) {
        const POINT tri[] = {c, corners[i], corners[(i + 1) % 4]};
        const int n = 3;
        FillPolygon(tri, &n, 1, kWinding, p.area(), p);
    }
    p.expectClean();
    EXPECT_EQ(p.count(), 31 * 23);
}

TEST(FillPolygon, PentagramDiffersByFillMode) {
    const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
    const int n = 5;
    Pixels alt(100, 100), wind(100, 100);
    FillPolygon(star, &n, 1, kAlternate, alt.area(), alt);
    FillPolygon(star, &n, 1, kWinding, wind.area(), wind);
    alt.expectClean();
    wind.expectClean();
    EXPECT_FALSE(alt.at(50, 50));  // the centre pentagon is crossed twice
    EXPECT_TRUE(wind.at(50, 50));
    EXPECT_TRUE(alt.at(50, 20));
    EXPECT_TRUE(wind.at(50, 20));
}

TEST(FillPolygon, MatchesReferenceOnRandomShapesAndLimits) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-10, 70);
    for (int round = 0; round < 200; ++round) {
        const int polygons = 1 + round % 3;
        std::vector<int> counts;
        std::vector<POINT> pts;
        for (int i = 0; i < polygons; ++i) {
            counts.push_back(round % 7);  // includes 0, 1 and 2 points
            for (int j = 0; j < counts.back(); ++j) pts.push_back({coord(rng), coord(rng)});
        }
        const int mode = round % 2 ? kWinding : kAlternate;
        const RECT limit{coord(rng) / 2, coord(rng) / 2, 40 + coord(rng) / 3, 40 + coord(rng) / 3};
        Pixels p(96, 96, -16, -16);
        FillPolygon(pts.data(), counts.data(), polygons, mode, limit, p);
        p.expectClean();
        for (int y = -16; y < 80; ++y)
            for (int x = -16; x < 80; ++x) {
                const bool inLimit = x >= limit.left && x < limit.right && y >= limit.top && y < limit.bottom;
                ASSERT_EQ(p.at(x, y), inLimit && test::InPolygon(pts, counts, mode, x, y))
                    << "round " << round << " pixel " << x << "," << y;
            }
    }
}

TEST(Ellipse, FillStaysInsideItsHalfOpenBoxAndMatchesReference) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(0, 40);
    for (int round = 0; round < 300; ++round) {
        int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
        if (l > r) std::swap(l, r);
        if (t > b) std::swap(t, b);
        const RECT box{l, t, r, b};
        Pixels p(48, 48);
        FillEllipse(box, p.area(), p);
        p.expectClean();
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) ASSERT_EQ(p.at(x, y), test::InEllipse(box, x, y)) << l << t << r << b;
        if (p.count() > 0) {
            const RECT ink = p.inkBounds();
            EXPECT_GE(ink.left, l);
            EXPECT_LE(ink.right, r);
            EXPECT_GE(ink.top, t);
            EXPECT_LE(ink.bottom, b);
        }
    }
    Pixels one(4, 4);
    FillEllipse({1, 1, 2, 2}, one.area(), one);
    EXPECT_EQ(one.count(), 1);
}

TEST(Ellipse, FrameIsTheFillsBorderEachPixelOnce) {
    const RECT boxes[] = {{0, 0, 40, 20}, {3, 5, 36, 39}, {10, 10, 12, 30}, {0, 0, 1, 1}, {5, 5, 45, 6}};
    for (const RECT& box : boxes) {
        Pixels fill(48, 48), frame(48, 48);
        FillEllipse(box, fill.area(), fill);
        FrameEllipse(box, {0, 0, 48, 48}, frame);
        frame.expectClean();
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool border = fill.at(x, y) && (!fill.at(x - 1, y) || !fill.at(x + 1, y) ||
                                                      !fill.at(x, y - 1) || !fill.at(x, y + 1));
                ASSERT_EQ(frame.at(x, y), border) << x << "," << y;
            }
        // Clipping the frame does not change the pixels it keeps.
        Pixels part(48, 48);
        const RECT half{0, box.top + 3, 48, 48};
        FrameEllipse(box, half, part);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) ASSERT_EQ(part.at(x, y), frame.at(x, y) && y >= half.top);
    }
}

TEST(Ellipse, PathFollowsTheOutlinePixels) {
    const RECT box{10, 20, 211, 121};
    const std::vector<POINT> path = EllipsePath(box);
    ASSERT_GE(path.size(), 16u);
    EXPECT_FALSE(path.front().x == path.back().x && path.front().y == path.back().y);
    for (const POINT& pt : path) {
        const double nx = (pt.x - 110.0) / 100.0, ny = (pt.y - 70.0) / 50.0;
        EXPECT_NEAR(std::hypot(nx, ny), 1.0, 0.02) << pt.x << "," << pt.y;
    }
    EXPECT_TRUE(EllipsePath({5, 5, 5, 50}).empty());
}

std::vector<POINT> DdaPixels(POINT a, POINT b) {
    std::vector<POINT> out;
    LineDda(a.x, a.y, b.x, b.y, [&](int x, int y) { out.push_back({x, y}); });
    return out;
}

TEST(CosmeticLine, DdaVisitsEveryPixelButTheEndInOrder) {
    const std::vector<POINT> v = DdaPixels({2, 3}, {9, 6});
    ASSERT_EQ(v.size(), 7u);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].x, 2 + static_cast<int>(i));
    EXPECT_EQ(v.front().y, 3);
    EXPECT_LE(v.back().y, 6);
    for (std::size_t i = 1; i < v.size(); ++i) EXPECT_LE(std::abs(v[i].y - v[i - 1].y), 1);

    const std::vector<POINT> up = DdaPixels({5, 20}, {3, 0});  // y-major, backwards
    ASSERT_EQ(up.size(), 20u);
    for (std::size_t i = 0; i < up.size(); ++i) EXPECT_EQ(up[i].y, 20 - static_cast<int>(i));
    EXPECT_TRUE(DdaPixels({4, 4}, {4, 4}).empty());
}

// The line walk step by step, straight from its closed form.
std::vector<POINT> WalkPixels(POINT a, POINT b) {
    const detail::LineWalk w(a.x, a.y, b.x, b.y);
    std::vector<POINT> out;
    for (std::int64_t i = 0; i < w.steps; ++i) {
        const auto major = static_cast<int>(w.m0 + w.sMajor * i), minor = static_cast<int>(w.minorAt(i));
        out.push_back(w.xMajor ? POINT{major, minor} : POINT{minor, major});
    }
    return out;
}

TEST(CosmeticLine, PolylineEqualsItsWalkUnderAnyLimit) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-30, 90);
    for (int round = 0; round < 400; ++round) {
        const POINT a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        const RECT limit{coord(rng) / 3, coord(rng) / 3, 40 + coord(rng) / 4, 40 + coord(rng) / 4};
        Pixels p(128, 128, -32, -32), ref(128, 128, -32, -32);
        const POINT seg[] = {a, b};
        CosmeticPolyline(seg, 2, false, limit, p);
        p.expectClean();
        for (const POINT& q : WalkPixels(a, b))
            if (q.x >= limit.left && q.x < limit.right && q.y >= limit.top && q.y < limit.bottom) ref.span(q.y, q.x, q.x + 1);
        EXPECT_EQ(ref.repeats(), 0);
        EXPECT_EQ(p.count(), ref.count());
        for (int y = -32; y < 96; ++y)
            for (int x = -32; x < 96; ++x) ASSERT_EQ(p.at(x, y), ref.at(x, y)) << "round " << round;
    }
}

TEST(CosmeticLine, SharedVerticesArePaintedOnce) {
    const POINT square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    Pixels p(16, 16);
    CosmeticPolyline(square, 4, true, p.area(), p);
    p.expectClean();
    EXPECT_EQ(p.count(), 40);
    const POINT dot[] = {{5, 5}, {5, 5}};
    Pixels d(16, 16);
    CosmeticPolyline(dot, 2, false, d.area(), d);
    EXPECT_EQ(d.count(), 0);
    Pixels e(16, 16);
    const POINT l[] = {{1, 1}, {8, 1}};
    CosmeticPolyline(l, 2, false, e.area(), e);
    EXPECT_EQ(e.count(), 7);
    EXPECT_FALSE(e.at(8, 1));
}

TEST(WidePen, ZeroLengthLineIsADotExactlyWidthAcross) {
    for (int w : {2, 3, 7, 8, 13, 20}) {
        const POINT dot[] = {{30, 30}, {30, 30}};
        Pixels p(64, 64);
        WidePolyline(dot, 2, false, w, p.area(), p);
        p.expectClean();
        const RECT ink = p.inkBounds();
        EXPECT_EQ(ink.right - ink.left, w) << w;
        EXPECT_EQ(ink.bottom - ink.top, w) << w;
        // Odd pens centre on the pixel, even pens on its top-left corner.
        EXPECT_EQ(ink.left, 30 - w / 2) << w;
        EXPECT_EQ(ink.top, 30 - w / 2) << w;
    }
}

TEST(WidePen, MatchesTheUnionOfCapsulesEachPixelOnce) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(0, 60);
    for (int round = 0; round < 120; ++round) {
        // Random zigzags make sharp joins, crossings and repeated points.
        std::vector<POINT> pts(static_cast<std::size_t>(1 + round % 6));
        for (POINT& q : pts) q = {coord(rng), coord(rng)};
        if (round % 5 == 0 && pts.size() > 2) pts[2] = pts[1];
        const int width = 2 + round % 17;
        const bool closed = round % 3 == 0;
        const RECT limit{5, 3, 58, 61};
        Pixels p(64, 64);
        WidePolyline(pts.data(), static_cast<int>(pts.size()), closed, width, limit, p);
        p.expectClean();
        std::vector<std::pair<POINT, POINT>> segs;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) segs.push_back({pts[i], pts[i + 1]});
        if (closed || pts.size() == 1) segs.push_back({pts.back(), pts.front()});
        for (int y = limit.top; y < limit.bottom; ++y)
            for (int x = limit.left; x < limit.right; ++x) {
                double d = 1e9;
                for (auto& [a, b] : segs) d = std::min(d, test::PenDistance(a, b, width, x, y));
                if (std::abs(d - width / 2.0) < 1e-9) continue;  // exactly on the rim
                ASSERT_EQ(p.at(x, y), d < width / 2.0) << "round " << round << " at " << x << "," << y;
            }
        EXPECT_EQ(p.outside(), 0);
    }
}

// Counts spans and fails loudly if work escapes the limit.
class Counter final : public SpanSink {
public:
    explicit Counter(RECT limit) : limit_(limit) {}
    void span(int y, int x0, int x1) override {
        ++spans;
        pixels += x1 - x0;
        if (y < limit_.top || y >= limit_.bottom || x0 < limit_.left || x1 > limit_.right || x0 >= x1) ++bad;
    }
    long long spans = 0, pixels = 0, bad = 0;

private:
    RECT limit_;
};

TEST(Robustness, HugeAndDegenerateShapesStayBoundedByTheLimit) {
    const RECT limit{0, 0, 3840, 2160};
    const int big = 1000000000;
    {
        Counter c(limit);
        FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, limit, c);
        const POINT tri[] = {{-big, -big}, {big, -big}, {0, big}};
        const int n = 3;
        FillPolygon(tri, &n, 1, kWinding, limit, c);
        FillEllipse({-big, -big, big, big}, limit, c);
        FrameEllipse({-big, -big, big, big}, limit, c);
        EXPECT_EQ(c.bad, 0);
        EXPECT_EQ(c.pixels, 3 * 3840LL * 2160);  // the frame lies far outside
    }
    {
        Counter c(limit);
        const POINT diag[] = {{-big, -big}, {big, big}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}};
        CosmeticPolyline(diag, 4, true, limit, c);
        EXPECT_EQ(c.bad, 0);
        EXPECT_GE(c.pixels, 2160);
        EXPECT_LE(c.pixels, 2 * 2160 + 2 * 3840);
    }
    {
        Counter c(limit);
        const POINT far[] = {{-big, 5}, {big, 7}, {INT_MIN, INT_MIN}};
        WidePolyline(far, 3, false, INT_MAX, limit, c);
        EXPECT_EQ(c.bad, 0);
        EXPECT_EQ(c.pixels, 3840LL * 2160);
        Counter d(limit);
        WidePolyline(far, 2, false, 40, {0, 0, 0, 0}, d);
        const POINT off[] = {{-big, -big}, {-big + 10, -big}};
        WidePolyline(off, 2, false, 40, limit, d);
        EXPECT_EQ(d.spans, 0);
    }
    {
        Counter c(limit);
        // Polygons of 0, 1 and 2 points, then three collinear points: no area.
        const POINT pts[] = {{1, 1}, {5, 5}, {9, 9}, {1, 1}, {5, 5}, {9, 9}};
        const int counts[] = {0, 1, 2, 3};
        FillPolygon(pts, counts, 4, kAlternate, limit, c);
        EXPECT_EQ(c.pixels, 0);
    }
}

TEST(Bezier, FlattensThroughEndpointsCloseToTheCurve) {
    const POINT c[] = {{0, 0}, {0, 100}, {200, 100}, {200, 0}, {300, -50}, {300, 50}, {400, 0}};
    const std::vector<POINT> poly = FlattenBezier(c, 7);
    ASSERT_GE(poly.size(), 10u);
    EXPECT_EQ(poly.front().x, 0);
    EXPECT_EQ(poly.back().x, 400);
    EXPECT_EQ(poly.back().y, 0);
    bool passedJoint = false;
    for (const POINT& p : poly) passedJoint |= p.x == 200 && p.y == 0;
    EXPECT_TRUE(passedJoint);
    // Every point of both curves lies within a pixel of the polyline.
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i <= 200; ++i) {
            const double t = i / 200.0, u = 1 - t;
            const POINT* q = c + 3 * k;
            const double x = u * u * u * q[0].x + 3 * u * u * t * q[1].x + 3 * u * t * t * q[2].x + t * t * t * q[3].x;
            const double y = u * u * u * q[0].y + 3 * u * u * t * q[1].y + 3 * u * t * t * q[2].y + t * t * t * q[3].y;
            double best = 1e9;
            for (std::size_t j = 0; j + 1 < poly.size(); ++j) {
                const double ax = poly[j].x, ay = poly[j].y, dx = poly[j + 1].x - ax, dy = poly[j + 1].y - ay;
                const double f = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                best = std::min(best, std::hypot(x - ax - f * dx, y - ay - f * dy));
            }
            ASSERT_LE(best, 1.0) << "curve " << k << " t " << t;
        }
    for (std::size_t i = 1; i < poly.size(); ++i)
        EXPECT_FALSE(poly[i].x == poly[i - 1].x && poly[i].y == poly[i - 1].y);

    const POINT same[] = {{7, 7}, {7, 7}, {7, 7}, {7, 7}};
    EXPECT_EQ(FlattenBezier(same, 4).size(), 2u);  // still a zero-length line: a dot for wide pens
    EXPECT_EQ(FlattenBezier(same, 1).size(), 1u);
    EXPECT_TRUE(FlattenBezier(same, 0).empty());
}

}  // namespace
}  // namespace gdi::raster
