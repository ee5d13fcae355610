#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "canvas.h"
#include "saver/modules/draw_helpers.h"

namespace {

using modtest::Canvas;
using Tile = std::pair<int, int>;  // column, row

std::vector<Tile> VisibleTiles(int columns, int rows, int type) {
    std::vector<Tile> tiles;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            if (TileVisible(c, r, type)) tiles.emplace_back(c, r);
    return tiles;
}

TEST(TileVisible, SelectsTilesByTypeOnSmallGrids) {
    const std::vector<Tile> all1{{0, 0}};
    const std::vector<Tile> all2{{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const std::vector<Tile> all3{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
    for (int type : {0, 3, 4, -1}) {
        EXPECT_EQ(VisibleTiles(1, 1, type), all1) << "type " << type;
        EXPECT_EQ(VisibleTiles(2, 2, type), all2) << "type " << type;
        EXPECT_EQ(VisibleTiles(3, 2, type), all3) << "type " << type;
    }
    EXPECT_TRUE(VisibleTiles(1, 1, 1).empty());
    EXPECT_EQ(VisibleTiles(2, 2, 1), (std::vector<Tile>{{0, 1}, {1, 0}}));
    EXPECT_EQ(VisibleTiles(3, 2, 1), (std::vector<Tile>{{0, 1}, {1, 0}, {2, 1}}));
    EXPECT_EQ(VisibleTiles(1, 1, 2), all1);
    EXPECT_EQ(VisibleTiles(2, 2, 2), (std::vector<Tile>{{0, 0}, {1, 1}}));
    EXPECT_EQ(VisibleTiles(3, 2, 2), (std::vector<Tile>{{0, 0}, {1, 1}, {2, 0}}));
}

std::vector<std::vector<POINT>> drawn;

void Record(HDC, const POINT* points, int count) { drawn.emplace_back(points, points + count); }

TEST(ScaledCopyTiling, ScalesIntoTheFirstTileAndOffsetsEachVisibleTile) {
    drawn.clear();
    const TileGrid grid = MakeTileGrid(61, 41, 3, 2, 1);
    EXPECT_EQ(grid.tileWidth, 20);
    EXPECT_EQ(grid.tileHeight, 20);
    const POINT points[2] = {{31, 11}, {-7, 9}};
    POINT scratch[2];
    DrawTiled(nullptr, grid, points, scratch, 2, Record);
    // Columns outer, rows inner; x divided by 3 and y by 2, toward zero.
    ASSERT_EQ(drawn.size(), 3u);
    const POINT expectedFirst[3] = {{10, 25}, {30, 5}, {50, 25}};
    const POINT expectedSecond[3] = {{-2, 24}, {18, 4}, {38, 24}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i][0].x, expectedFirst[i].x) << i;
        EXPECT_EQ(drawn[i][0].y, expectedFirst[i].y) << i;
        EXPECT_EQ(drawn[i][1].x, expectedSecond[i].x) << i;
        EXPECT_EQ(drawn[i][1].y, expectedSecond[i].y) << i;
    }
}

TEST(ScaledCopyTiling, TileCountsBelowOneAndTinyCanvasesStaySafe) {
    drawn.clear();
    const TileGrid grid = MakeTileGrid(1, 1, 0, -3, 0);
    EXPECT_EQ(grid.xTiles, 1);
    EXPECT_EQ(grid.yTiles, 1);
    const TileGrid many = MakeTileGrid(5, 5, 20, 20, 0);
    EXPECT_EQ(many.tileWidth, 0);
    const POINT p{4, 4};
    POINT scratch[1];
    DrawTiled(nullptr, many, &p, scratch, 1, Record);
    EXPECT_EQ(drawn.size(), 400u);
}

// Paints an asymmetric picture into the tile at (left, top).
void PaintTile(Canvas& canvas, int left, int top, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(canvas.dc(), left + x, top + y, PALETTEINDEX(static_cast<WORD>((x * 7 + y * 13 + x * y) % 200 + 1)));
}

// Copies the source tile out ring by ring, as the raster modules do.
void MirrorRings(Canvas& canvas, int srcX, int tileType, int w, int h) {
    for (int k = 0; k <= w - 1 - k && k <= h - 1 - k; ++k) {
        const int left = k, top = k, right = w - 1 - k, bottom = h - 1 - k;
        MirrorTileEdges(canvas.dc(), 2, 2, w, h, tileType, right - left + 1, bottom - top + 1, srcX + left, top,
                        srcX + right, bottom, left, top, right, bottom);
    }
}

TEST(MirrorTileEdges, TwoByTwoTilesMirrorAboutBothCentreLines) {
    constexpr int W = 20, H = 15;
    Canvas canvas(2 * W, 2 * H);
    PaintTile(canvas, 0, 0, W, H);
    const auto before = canvas.Indices();
    ASSERT_NE(before[0], before[W - 1]);
    ASSERT_NE(before[0], before[static_cast<std::size_t>(H - 1) * 2 * W]);

    MirrorRings(canvas, 0, 0, W, H);
    const auto px = canvas.Indices();
    auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y) * 2 * W + x]; };
    for (int y = 0; y < 2 * H; ++y) {
        for (int x = 0; x < 2 * W; ++x) {
            ASSERT_EQ(at(x, y), at(2 * W - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(at(x, y), at(x, 2 * H - 1 - y)) << x << "," << y;
        }
    }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(at(x, y), before[static_cast<std::size_t>(y) * 2 * W + x]);
}

TEST(MirrorTileEdges, SkipsHiddenTilesAndTheSourceTile) {
    constexpr int W = 12, H = 9;
    Canvas canvas(2 * W, 2 * H);
    // Tile type 1 shows (1, 0) and (0, 1); the picture is built in (1, 0).
    PaintTile(canvas, W, 0, W, H);
    const auto before = canvas.Indices();
    MirrorRings(canvas, W, 1, W, H);
    const auto px = canvas.Indices();
    auto at = [&](const std::vector<std::uint8_t>& v, int x, int y) { return v[static_cast<std::size_t>(y) * 2 * W + x]; };
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            ASSERT_EQ(at(px, W + x, y), at(before, W + x, y)) << "source tile changed at " << x << "," << y;
            // An odd row is the source upside down.
            ASSERT_EQ(at(px, x, H + y), at(before, W + x, H - 1 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(modtest::InkIn(px, 2 * W, 0, 0, W, H), 0);
    EXPECT_EQ(modtest::InkIn(px, 2 * W, W, H, 2 * W, 2 * H), 0);
}

}  // namespace
