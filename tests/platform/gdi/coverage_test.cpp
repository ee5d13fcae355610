// Which pixels the shapes cover: right and bottom edges excluded, end points
// of cosmetic lines excluded, wide pens as round strokes.
#include <string>

#include "canvas_fixture.h"

namespace gditest {
namespace {

using Coverage = CanvasTest;

constexpr COLORREF kInk = PALETTEINDEX(5);  // stores 15
constexpr std::uint8_t kInkIndex = 15;

TEST_F(Coverage, RectangleAndEllipseExcludeRightAndBottomEdges) {
    Use(CreatePen(PS_SOLID, 1, kInk));
    Use(CreateSolidBrush(kInk));
    ASSERT_TRUE(Rectangle(dc, 10, 5, 20, 12));
    EXPECT_EQ(InkBox().left, 10);
    EXPECT_EQ(InkBox().top, 5);
    EXPECT_EQ(InkBox().right, 20);
    EXPECT_EQ(InkBox().bottom, 12);
    EXPECT_EQ(Count(kInkIndex), 10 * 7);

    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    ASSERT_TRUE(Ellipse(dc, 30, 20, 10, 4));  // inverted boxes are normalised
    const RECT box = InkBox();
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(box.bottom, 20);
}

TEST_F(Coverage, RectangleOutlineAndInteriorUseThePenAndTheBrush) {
    Use(CreatePen(PS_SOLID, 0, PALETTEINDEX(1)));
    Use(CreateSolidBrush(PALETTEINDEX(2)));
    Rectangle(dc, 2, 2, 8, 6);
    EXPECT_EQ(IndexAt(2, 2), 11);
    EXPECT_EQ(IndexAt(7, 5), 11);
    EXPECT_EQ(IndexAt(3, 3), 12);
    EXPECT_EQ(IndexAt(6, 4), 12);
    EXPECT_EQ(IndexAt(8, 6), 0);
    EXPECT_EQ(Count(11), 2 * 6 + 2 * 2);

    SelectObject(dc, GetStockObject(NULL_BRUSH));  // hollow: the interior stays
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    Rectangle(dc, 2, 2, 8, 6);
    EXPECT_EQ(IndexAt(4, 4), 0);
    EXPECT_EQ(Count(11), 16);
}

TEST_F(Coverage, CosmeticLinesExcludeTheirEndPoint) {
    Use(CreatePen(PS_SOLID, 1, kInk));
    MoveToEx(dc, 5, 5, nullptr);
    ASSERT_TRUE(LineTo(dc, 15, 5));
    EXPECT_EQ(Count(kInkIndex), 10);
    EXPECT_EQ(IndexAt(15, 5), 0);
    EXPECT_EQ(IndexAt(5, 5), kInkIndex);

    // A polyline paints its shared vertices once, and the current position
    // follows LineTo only.
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    const POINT path[] = {{1, 1}, {9, 1}, {9, 9}};
    Polyline(dc, path, 3);
    EXPECT_EQ(Count(kInkIndex), 16);
    POINT at;
    MoveToEx(dc, 0, 0, &at);
    EXPECT_EQ(at.x, 15);
    EXPECT_EQ(at.y, 5);
}

TEST_F(Coverage, ZeroLengthLineIsARoundDotForWidePensAndNothingForThinOnes) {
    Use(CreatePen(PS_SOLID, 8, kInk));
    MoveToEx(dc, 20, 20, nullptr);
    LineTo(dc, 20, 20);
    const RECT dot = InkBox();
    EXPECT_EQ(dot.right - dot.left, 8);
    EXPECT_EQ(dot.bottom - dot.top, 8);
    EXPECT_EQ(IndexAt(dot.left, dot.top), 0);  // round, not square

    DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, 1, kInk)));
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    MoveToEx(dc, 20, 20, nullptr);
    LineTo(dc, 20, 20);
    EXPECT_EQ(Count(kInkIndex), 0);
}

TEST_F(Coverage, PolygonFillsPixelCentresAndHonoursTheFillMode) {
    Use(CreatePen(PS_NULL, 0, 0));
    Use(CreateSolidBrush(kInk));
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    Polygon(dc, square, 4);
    EXPECT_EQ(Count(kInkIndex), 100);

    // A doubly wound square: WINDING fills the inner part, ALTERNATE does not.
    const POINT twice[] = {{20, 0}, {40, 0}, {40, 20}, {20, 20}, {20, 0},
                           {25, 5}, {35, 5}, {35, 15}, {25, 15}, {25, 5}};
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    SetPolyFillMode(dc, ALTERNATE);
    Polygon(dc, twice, 10);
    const int alternate = Count(kInkIndex);
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    Polygon(dc, twice, 10);
    EXPECT_EQ(Count(kInkIndex), alternate + 100);
}

TEST_F(Coverage, InvertingOutlineAndFillTouchEveryPixelOnce) {
    // Under R2_NOT a pixel inverted twice would come back: fill and outline
    // of one shape must not overlap.
    Use(CreatePen(PS_SOLID, 1, kInk));
    Use(CreateSolidBrush(kInk));
    Ellipse(dc, 4, 4, 30, 24);
    const int covered = Count(kInkIndex);

    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    SetROP2(dc, R2_NOT);
    Ellipse(dc, 4, 4, 30, 24);
    EXPECT_EQ(Count(0), covered);
    EXPECT_EQ(IndexAt(17, 14), 0);  // centre inverted once
    EXPECT_EQ(IndexAt(4, 4), 255);  // corner of the box untouched
    EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_NOT);
}

TEST_F(Coverage, WideOutlinesAreClosedRoundStrokes) {
    Use(CreatePen(PS_SOLID, 6, kInk));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 10, 10, 30, 30);
    EXPECT_EQ(IndexAt(20, 20), 0);          // hollow
    EXPECT_EQ(IndexAt(20, 10), kInkIndex);  // on the top side
    EXPECT_EQ(IndexAt(20, 7), kInkIndex);   // half the width outside
    EXPECT_EQ(IndexAt(20, 4), 0);
    EXPECT_EQ(IndexAt(20, 13), 0);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST_F(Coverage, PolyBezierRunsFromTheFirstToTheLastPoint) {
    Use(CreatePen(PS_SOLID, 1, kInk));
    const POINT curve[] = {{2, 40}, {10, 2}, {50, 2}, {60, 40}};
    ASSERT_TRUE(PolyBezier(dc, curve, 4));
    const RECT box = InkBox();
    EXPECT_EQ(box.left, 2);
    EXPECT_LE(box.top, 14);
    EXPECT_GE(box.top, 10);
    EXPECT_EQ(IndexAt(2, 40), kInkIndex);
    EXPECT_FALSE(PolyBezier(dc, curve, 3));  // not 1 + 3k points
}

void Collect(int x, int y, LPARAM data) {
    reinterpret_cast<std::vector<POINT>*>(data)->push_back({x, y});
}

TEST(LineDDA, VisitsEveryPixelButTheEndPointInOrder) {
    std::vector<POINT> points;
    ASSERT_TRUE(LineDDA(0, 0, 5, -3, Collect, reinterpret_cast<LPARAM>(&points)));
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points.front().x, 0);
    EXPECT_EQ(points.front().y, 0);
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_EQ(points[i].x, points[i - 1].x + 1);
    EXPECT_NE(points.back().x, 5);

    points.clear();
    LineDDA(7, 7, 7, 7, Collect, reinterpret_cast<LPARAM>(&points));
    EXPECT_TRUE(points.empty());
    EXPECT_FALSE(LineDDA(0, 0, 1, 1, nullptr, 0));
}

void AppendPoint(int x, int y, LPARAM data) {
    auto& text = *reinterpret_cast<std::string*>(data);
    text += (text.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(y);
}

// Points recorded from Win32: halves round towards the start point, in every
// octant and along a line either way.
TEST(LineDDA, StepsAsWin32DoesInEveryOctantAndDirection) {
    struct Case {
        POINT from, to;
        const char* visits;
    };
    const Case cases[] = {
        {{0, 0}, {10, 3}, "0,0 1,0 2,1 3,1 4,1 5,1 6,2 7,2 8,2 9,3"},
        {{0, 0}, {3, 10}, "0,0 0,1 1,2 1,3 1,4 1,5 2,6 2,7 2,8 3,9"},
        {{0, 0}, {-10, 3}, "0,0 -1,0 -2,1 -3,1 -4,1 -5,1 -6,2 -7,2 -8,2 -9,3"},
        {{0, 0}, {-3, 10}, "0,0 0,1 -1,2 -1,3 -1,4 -1,5 -2,6 -2,7 -2,8 -3,9"},
        {{0, 0}, {-10, -3}, "0,0 -1,0 -2,-1 -3,-1 -4,-1 -5,-1 -6,-2 -7,-2 -8,-2 -9,-3"},
        {{0, 0}, {-3, -10}, "0,0 0,-1 -1,-2 -1,-3 -1,-4 -1,-5 -2,-6 -2,-7 -2,-8 -3,-9"},
        {{0, 0}, {10, -3}, "0,0 1,0 2,-1 3,-1 4,-1 5,-1 6,-2 7,-2 8,-2 9,-3"},
        {{0, 0}, {3, -10}, "0,0 0,-1 1,-2 1,-3 1,-4 1,-5 2,-6 2,-7 2,-8 3,-9"},
        {{7, -4}, {-12, 9}, "7,-4 6,-3 5,-3 4,-2 3,-1 2,-1 1,0 0,1 -1,1 -2,2 -3,3 -4,4 -5,4 -6,5 -7,6 -8,6 -9,7 -10,8 -11,8"},
        {{-12, 9}, {7, -4}, "-12,9 -11,8 -10,8 -9,7 -8,6 -7,6 -6,5 -5,4 -4,4 -3,3 -2,2 -1,1 0,1 1,0 2,-1 3,-1 4,-2 5,-3 6,-3"},
    };
    for (const Case& c : cases) {
        std::string visits;
        ASSERT_TRUE(LineDDA(c.from.x, c.from.y, c.to.x, c.to.y, AppendPoint, reinterpret_cast<LPARAM>(&visits)));
        EXPECT_EQ(visits, c.visits) << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y;
    }
}

}  // namespace
}  // namespace gditest
