// Text on the Canvas and the three-dimensional edges of the overlay boxes.
#include "canvas_fixture.h"

namespace gditest {
namespace {

using Text = CanvasTest;

TEST_F(Text, CentredTextSitsInTheMiddleOfItsRectangle) {
    SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetTextColor(dc, PALETTEINDEX(5));
    SetBkMode(dc, TRANSPARENT);
    RECT box{4, 4, 60, 44};
    const int height = DrawTextA(dc, "Lumora\nrun", -1, &box, DT_CENTER | DT_VCENTER);
    EXPECT_GT(height, 0);
    const RECT ink = InkBox();
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.right);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LE(ink.bottom, box.bottom);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (box.left + box.right) / 2.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (box.top + box.bottom) / 2.0, 2.5);
    EXPECT_EQ(Count(15) + Count(0), kWidth * kHeight);  // one colour, nothing else
}

TEST_F(Text, OpaqueModeFillsTheLineCellWithTheBackground) {
    SetTextColor(dc, PALETTEINDEX(5));
    SetBkColor(dc, PALETTEINDEX(6));
    EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
    SIZE extent;
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "Hi", 2, &extent));
    RECT box{0, 0, kWidth, kHeight};
    DrawTextA(dc, "Hi", 2, &box, 0);
    EXPECT_EQ(Count(15) + Count(16), extent.cx * extent.cy);
    EXPECT_GT(Count(15), 0);
    EXPECT_EQ(IndexAt(0, 0), 16);
}

TEST_F(Text, MeasuringAndCalculatingDrawNothing) {
    SIZE extent{5, 5};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "", 0, &extent));
    EXPECT_EQ(extent.cx, 0);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(extent.cy, tm.tmHeight);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GE(tm.tmHeight, 10);
    EXPECT_LE(tm.tmHeight, 20);
    SIZE wide;
    GetTextExtentPoint32A(dc, "WWWW", 4, &wide);
    RECT calc{10, 10, 10, 10};
    const int height = DrawTextA(dc, "WWWW", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, tm.tmHeight);
    EXPECT_EQ(calc.right - calc.left, wide.cx);
    EXPECT_EQ(Count(0), kWidth * kHeight);
    EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 3, &extent));
    EXPECT_EQ(DrawTextA(dc, "x", 1, nullptr, 0), 0);
    EXPECT_FALSE(GetTextMetricsA(nullptr, &tm));
}

TEST_F(Text, CreatedFontsFollowTheirHeight) {
    LOGFONTA lf{};
    lf.lfHeight = 30;
    HFONT big = CreateFontIndirectA(&lf);
    ASSERT_NE(big, nullptr);
    Use(big);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    EXPECT_NEAR(tm.tmHeight, 30, 1);
    LOGFONTA back{};
    EXPECT_EQ(GetObjectA(big, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, 30);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

TEST_F(Text, EdgesUseTheStaticColours) {
    RECT r{10, 10, 30, 20};
    ASSERT_TRUE(DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(IndexAt(15, 10), 248);  // outer top: dark grey
    EXPECT_EQ(IndexAt(15, 19), 255);  // outer bottom: white
    EXPECT_EQ(IndexAt(15, 11), 0);    // inner top: black
    EXPECT_EQ(IndexAt(15, 18), 7);    // inner bottom: light grey
    EXPECT_EQ(IndexAt(15, 15), 7);    // the face
    EXPECT_EQ(IndexAt(30, 15), 0);    // right edge excluded
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.bottom, 18);

    RECT raised{40, 10, 50, 20};
    DrawEdge(dc, &raised, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(IndexAt(41, 11), 255);  // inner top-left: white
    EXPECT_EQ(IndexAt(45, 10), 7);    // outer top: light grey
    EXPECT_EQ(IndexAt(48, 15), 248);  // inner right: dark grey
    EXPECT_EQ(IndexAt(45, 15), 0);    // no middle
    RECT etched{0, 30, 10, 40};
    DrawEdge(dc, &etched, EDGE_ETCHED, BF_RECT);
    EXPECT_EQ(IndexAt(0, 35), 248);
    EXPECT_EQ(IndexAt(1, 35), 255);
    EXPECT_FALSE(DrawEdge(dc, nullptr, EDGE_ETCHED, BF_RECT));
}

}  // namespace
}  // namespace gditest
