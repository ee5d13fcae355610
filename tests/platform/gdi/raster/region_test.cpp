#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "pixels.h"
#include "platform/gdi/raster/raster.h"
#include "platform/gdi/raster/region.h"
#include "reference.h"

namespace gdi {
namespace {

using test::Pixels;

constexpr int kSize = 48;

Region RandomShape(std::mt19937& rng) {
    std::uniform_int_distribution<int> coord(-4, kSize + 4);
    const int kind = static_cast<int>(rng() % 3);
    if (kind == 0) return Region::FromRect({coord(rng), coord(rng), coord(rng), coord(rng)});
    if (kind == 1) return Region::FromEllipse({coord(rng), coord(rng), coord(rng), coord(rng)});
    POINT pts[5];
    for (POINT& p : pts) p = {coord(rng), coord(rng)};
    const int n = 5;
    return Region::FromPolygon(pts, &n, 1, rng() % 2 ? raster::kWinding : raster::kAlternate);
}

// The region's rectangles are banded, sorted, disjoint and not mergeable.
void ExpectCanonical(const Region& r) {
    const std::vector<RECT> rects = r.rects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        ASSERT_LT(rects[i].left, rects[i].right);
        ASSERT_LT(rects[i].top, rects[i].bottom);
        if (i == 0) continue;
        const RECT& p = rects[i - 1];
        if (p.top == rects[i].top) {
            ASSERT_EQ(p.bottom, rects[i].bottom);
            ASSERT_LT(p.right, rects[i].left);  // touching runs would have been joined
        } else {
            ASSERT_LE(p.bottom, rects[i].top);
        }
    }
}

TEST(Region, CombineMatchesPixelReference) {
    std::mt19937 rng(17);
    for (int round = 0; round < 150; ++round) {
        const Region a = RandomShape(rng), b = RandomShape(rng);
        for (int mode = kRgnAnd; mode <= kRgnCopy; ++mode) {
            const Region c = Region::Combine(a, b, mode);
            ExpectCanonical(c);
            for (int y = -6; y < kSize + 6; ++y)
                for (int x = -6; x < kSize + 6; ++x) {
                    const bool ia = a.contains(x, y), ib = b.contains(x, y);
                    const bool want = mode == kRgnAnd   ? ia && ib
                                      : mode == kRgnOr  ? ia || ib
                                      : mode == kRgnXor ? ia != ib
                                      : mode == kRgnDiff ? ia && !ib
                                                         : ia;
                    ASSERT_EQ(c.contains(x, y), want) << "round " << round << " mode " << mode << " " << x << "," << y;
                }
        }
        // Set identities hold on the canonical form itself.
        EXPECT_TRUE(Region::Combine(Region::Combine(a, b, kRgnOr), Region::Combine(a, b, kRgnAnd), kRgnDiff) ==
                    Region::Combine(a, b, kRgnXor));
        EXPECT_TRUE(Region::Combine(a, a, kRgnXor).empty());
    }
}

TEST(Region, ClipSpanDeliversExactlyTheInsidePixels) {
    std::mt19937 rng(23);
    for (int round = 0; round < 60; ++round) {
        const Region r = Region::Combine(RandomShape(rng), RandomShape(rng), kRgnXor);
        Pixels p(kSize + 20, kSize + 20, -10, -10);
        ClippedSink clipped(&r, p);
        for (int y = -10; y < kSize + 10; ++y) {
            clipped.span(y, -10, 7);
            clipped.span(y, 7, kSize + 10);
        }
        p.expectClean();
        for (int y = -10; y < kSize + 10; ++y)
            for (int x = -10; x < kSize + 10; ++x) ASSERT_EQ(p.at(x, y), r.contains(x, y));
    }
    Pixels straight(8, 8);
    ClippedSink through(nullptr, straight);
    through.span(2, 1, 5);
    EXPECT_EQ(straight.count(), 4);
}

TEST(Region, EllipseCoversTheFilledEllipsePixels) {
    const RECT boxes[] = {{0, 0, 40, 20}, {3, 5, 36, 39}, {7, 2, 8, 30}, {10, 10, 31, 31}};
    for (const RECT& box : boxes) {
        const Region r = Region::FromEllipse(box);
        Pixels fill(kSize, kSize);
        raster::FillEllipse(box, fill.area(), fill);
        for (int y = -1; y <= kSize; ++y)
            for (int x = -1; x <= kSize; ++x) ASSERT_EQ(r.contains(x, y), fill.at(x, y));
        // An inverted box is the same ellipse.
        EXPECT_TRUE(Region::FromEllipse({box.right, box.bottom, box.left, box.top}) == r);
    }
}

TEST(Region, EllipseAndTriangleIntersectExactly) {
    const RECT box{4, 6, 44, 40};
    const POINT tri[] = {{0, 45}, {24, 0}, {47, 45}};
    const int n = 3;
    const Region both = Region::Combine(Region::FromEllipse(box), Region::FromPolygon(tri, &n, 1, raster::kAlternate),
                                        kRgnAnd);
    const std::vector<POINT> pts(tri, tri + 3);
    int inside = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const bool want = test::InEllipse(box, x, y) && test::InPolygon(pts, {3}, 1, x, y);
            inside += want;
            ASSERT_EQ(both.contains(x, y), want) << x << "," << y;
        }
    EXPECT_GT(inside, 300);
    EXPECT_EQ(both.kind(), kComplexRegion);
}

TEST(Region, KindBoundsAndNormalisation) {
    EXPECT_EQ(Region().kind(), kNullRegion);
    EXPECT_TRUE(Region::FromRect({5, 5, 5, 20}).empty());
    EXPECT_EQ(Region::FromRect({5, 5, 5, 20}).bounds().right, 0);
    const Region r = Region::FromRect({10, 20, 2, 4});  // inverted: normalised
    EXPECT_EQ(r.kind(), kSimpleRegion);
    const RECT b = r.bounds();
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 4);
    EXPECT_EQ(b.right, 10);
    EXPECT_EQ(b.bottom, 20);
    EXPECT_TRUE(r.contains(2, 4));
    EXPECT_FALSE(r.contains(10, 4));
    EXPECT_FALSE(r.contains(2, 20));

    // Two halves make the whole, in the same canonical form.
    const Region halves = Region::Combine(Region::FromRect({0, 0, 5, 10}), Region::FromRect({5, 0, 10, 10}), kRgnOr);
    EXPECT_TRUE(halves == Region::FromRect({0, 0, 10, 10}));
    EXPECT_EQ(halves.kind(), kSimpleRegion);
    EXPECT_EQ(halves.rects().size(), 1u);
    const Region hole = Region::Combine(halves, Region::FromRect({3, 3, 6, 6}), kRgnDiff);
    EXPECT_EQ(hole.kind(), kComplexRegion);
    EXPECT_EQ(hole.rects().size(), 4u);
    EXPECT_TRUE(Region::Combine(hole, Region::FromRect({3, 3, 6, 6}), kRgnOr) == halves);
}

TEST(Region, OffsetMovesAndSaturates) {
    Region r = Region::FromEllipse({0, 0, 20, 10});
    Region moved = r;
    moved.offset(7, -3);
    for (int y = -5; y < 15; ++y)
        for (int x = -5; x < 30; ++x) ASSERT_EQ(moved.contains(x + 7, y - 3), r.contains(x, y));
    moved.offset(-7, 3);
    EXPECT_TRUE(moved == r);

    Region far = Region::FromRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    far.offset(INT_MAX, INT_MAX);
    EXPECT_FALSE(far.empty());
    EXPECT_EQ(far.bounds().right, INT_MAX);
    EXPECT_TRUE(far.contains(5, 5));

    Region squashed = Region::FromRect({0, 0, 10, 10});
    squashed.offset(INT_MAX, 0);
    EXPECT_TRUE(squashed.empty());  // every column lands on the same coordinate
}

TEST(Region, HugeShapesStayCheapAndDegenerateOnesEmpty) {
    const int big = 1000000000;
    const Region e = Region::FromEllipse({-big, -big, big, big});
    EXPECT_TRUE(e.contains(0, 0));
    EXPECT_TRUE(e.contains(3839, 2159));
    const POINT tri[] = {{-big, -big}, {big, -big}, {0, big}};
    const int n = 3;
    EXPECT_TRUE(Region::FromPolygon(tri, &n, 1, raster::kWinding).contains(100, 100));
    const POINT line[] = {{0, 0}, {10, 10}, {20, 20}};
    EXPECT_TRUE(Region::FromPolygon(line, &n, 1, raster::kWinding).empty());
    EXPECT_TRUE(Region::FromPolygon(nullptr, nullptr, 0, raster::kWinding).empty());
    EXPECT_TRUE(Region::FromEllipse({4, 4, 4, 40}).empty());
}

}  // namespace
}  // namespace gdi
