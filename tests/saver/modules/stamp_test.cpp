#include <gtest/gtest.h>

#include <cstdlib>

#include "canvas.h"
#include "saver/modules/draw_helpers.h"

namespace {

using modtest::Canvas;
using modtest::HardwareIndex;
using modtest::InkIn;

ShapeStamp Make(HDC dc, int sides, int style, int size, int spacing = 0, float angleStep = 0.0f) {
    ShapeStamp stamp{};
    InitShapeStamp(dc, sides, style, spacing, size, angleStep, &stamp);
    return stamp;
}

TEST(ShapeStampSetup, SmallAndTwoSidedStampsTakeTheFilledClass) {
    struct Case {
        int sides, style, size, wantSides, wantStyle;
    } cases[] = {
        {5, 0, 2, 1, 1},   // a dot, filled
        {5, 3, 2, 1, 4},   // a nested dot keeps its depth
        {5, 8, 1, 1, 7},
        {5, 0, 0, 5, 0},   // size 0 keeps what it was given
        {5, 2, 3, 1, 2},   // size 3 is a dot but keeps its style
        {2, 2, 10, 2, 1},  // two sides cannot be hollow
        {2, 5, 0, 2, 4},
        {6, 2, 10, 6, 2},
    };
    for (const Case& c : cases) {
        const ShapeStamp s = Make(nullptr, c.sides, c.style, c.size);
        EXPECT_EQ(s.sides, c.wantSides) << c.sides << "/" << c.style << "/" << c.size;
        EXPECT_EQ(s.style, c.wantStyle) << c.sides << "/" << c.style << "/" << c.size;
        EXPECT_FLOAT_EQ(s.size, static_cast<float>(c.size));
        EXPECT_EQ(s.angle, 0.0f);
        EXPECT_EQ(s.stepCounter, 0);
    }
}

TEST(ShapeStampSetup, NestingFactorsComeFromTwoDrawsInOrder) {
    std::srand(77);
    const int first = std::rand();
    const int second = std::rand();
    std::srand(77);
    const ShapeStamp s = Make(nullptr, 4, 3, 10);
    EXPECT_FLOAT_EQ(s.childScale, 1.0f / (1.5f + 4.0f * (first / 32767.0f)));
    EXPECT_FLOAT_EQ(s.spinFactor, second / 32767.0f + 0.5f);
    EXPECT_GE(s.childScale, 1.0f / 5.5f - 1e-6f);
    EXPECT_LE(s.childScale, 1.0f / 1.5f + 1e-6f);
}

TEST(ShapeStampDrawing, SmallDotsAreRoundPenDotsAndNestedOnesSitOneSizeBelow) {
    Canvas canvas(40, 40);
    const COLORREF colour = PALETTEINDEX(50);
    for (int style : {0, 3}) {
        canvas.Fill(BLACKNESS);
        const ShapeStamp s = Make(canvas.dc(), 5, style, 2);
        SelectStampTools(&s, colour);
        DrawStamp(20, 20, &s);
        ReleaseStampTools(&s);
        const auto px = canvas.Indices();
        const int centreRow = style == 0 ? 20 : 22;
        int ink = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const auto v = px[static_cast<std::size_t>(y) * 40 + x];
                if (v == modtest::Black) continue;
                ++ink;
                EXPECT_EQ(v, HardwareIndex(50));
                EXPECT_LE(std::abs(x - 20), 2) << "style " << style;
                EXPECT_LE(std::abs(y - centreRow), 2) << "style " << style;
            }
        }
        EXPECT_GT(ink, 0) << "style " << style;
        EXPECT_LE(ink, 9) << "style " << style;
    }
}

TEST(ShapeStampDrawing, FillClassesAndToolRelease) {
    Canvas canvas(40, 40);
    const COLORREF colour = PALETTEINDEX(7);
    const std::uint8_t white = 255;
    for (int style : {0, 1, 2}) {
        canvas.Fill(WHITENESS);
        const ShapeStamp s = Make(canvas.dc(), 4, style, 10);
        SelectStampTools(&s, colour);
        DrawStamp(20, 20, &s);
        ReleaseStampTools(&s);
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
        const auto px = canvas.Indices();
        int black = 0, coloured = 0;
        for (auto v : px) {
            black += v == modtest::Black;
            coloured += v == HardwareIndex(7);
        }
        const auto centre = px[20 * 40 + 20];
        switch (style) {
        case 0:
            EXPECT_EQ(centre, HardwareIndex(7));
            EXPECT_GT(black, 20);
            break;
        case 1:
            EXPECT_EQ(centre, HardwareIndex(7));
            EXPECT_EQ(black, 0);
            break;
        case 2:
            EXPECT_EQ(centre, white);
            EXPECT_EQ(black, 0);
            EXPECT_GT(coloured, 20);
            break;
        }
    }
}

TEST(ShapeStampLine, StampsEverySpacingPlusOnePixelsFromTheSecondEnd) {
    Canvas canvas(50, 40);
    ShapeStamp s = Make(canvas.dc(), 4, 1, 4, 9, 1.0f);
    s.angle = 0.25f;
    const ShapeStamp before = s;
    SelectStampTools(&s, PALETTEINDEX(3));
    // Rotation along the line turns the diamonds, so measure with none.
    s.angle = 0.0f;
    s.angleStep = 0.0f;
    DrawStampLine(40, 20, 10, 20, &s);
    const auto px = canvas.Indices();
    for (int x : {10, 20, 30}) EXPECT_GT(InkIn(px, 50, x, 20, x + 1, 21), 0) << x;
    for (int x : {15, 25}) EXPECT_EQ(InkIn(px, 50, x, 0, x + 1, 40), 0) << x;
    EXPECT_EQ(InkIn(px, 50, 35, 0, 50, 40), 0);

    s = before;
    DrawStampLine(45, 5, 3, 30, &s);
    ReleaseStampTools(&s);
    EXPECT_EQ(s.angle, before.angle);
    EXPECT_EQ(s.angleStep, before.angleStep);
    EXPECT_EQ(s.stepCounter, before.stepCounter);
}

TEST(ShapeStampLine, BetweenIdenticalPointsOnlyDotsDraw) {
    Canvas canvas(30, 30);
    ShapeStamp polygon = Make(canvas.dc(), 5, 1, 6, 0, 0.5f);
    SelectStampTools(&polygon, PALETTEINDEX(20));
    DrawStampLine(15, 15, 15, 15, &polygon);
    ReleaseStampTools(&polygon);
    EXPECT_EQ(canvas.CountNot(modtest::Black), 0);

    ShapeStamp dot = Make(canvas.dc(), 5, 0, 3);
    ASSERT_EQ(dot.sides, 1);
    SelectStampTools(&dot, PALETTEINDEX(20));
    DrawStampLine(15, 15, 15, 15, &dot);
    ReleaseStampTools(&dot);
    const auto px = canvas.Indices();
    EXPECT_GT(InkIn(px, 30, 13, 13, 18, 18), 0);
    EXPECT_EQ(InkIn(px, 30, 0, 0, 30, 30), InkIn(px, 30, 13, 13, 18, 18));
}

}  // namespace
