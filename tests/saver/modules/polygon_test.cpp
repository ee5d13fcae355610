#include <set>
#include <vector>

#include "module_fixture.h"
#include "saver/modules/polygon.h"

namespace {

using modtest::Black;
using modtest::HardwareIndex;

class PolygonTest : public modtest::ModuleTest {
protected:
    PolygonTest() : ModuleTest(ModulePolygon) {}
    const PolygonState& state = ::PolygonModule;
};

TEST_F(PolygonTest, FillsInTheCounterColourAndOutlinesInTheMirroredOne) {
    auto firstFrameInk = [this](LONG vertices, LONG outline) {
        Open(80, 60);
        Set(PolygonVerticesSlot, vertices);
        Set(PolygonOutlineSlot, outline);
        Set(PolygonSymmetrySlot, 3);
        Start(3);
        Steps(1);
        std::set<int> colours;
        for (auto v : canvas->Indices()) if (v != Black) colours.insert(v);
        return colours;
    };
    // The counter starts at 1: the first frame fills with 2, outlines with 234.
    EXPECT_EQ(firstFrameInk(3, 0), std::set<int>{HardwareIndex(2)});
    EXPECT_EQ(firstFrameInk(3, 1), (std::set<int>{HardwareIndex(2), HardwareIndex(234)}));
    // Two vertices enclose nothing and show as outlined lines, Outline or not.
    EXPECT_EQ(firstFrameInk(2, 0), std::set<int>{HardwareIndex(234)});
}

TEST_F(PolygonTest, SymmetricCopiesTurnAboutTheCentre) {
    // Share of inked pixels with a partner turned half round the centre
    // (40, 30), give or take the pixel a fill leaves off its far edges.
    auto partnered = [this](LONG symmetry) {
        Open(81, 61);
        Set(PolygonSymmetrySlot, symmetry);
        Set(PolygonVerticesSlot, 5);
        Start(8);
        Steps(1);
        const std::vector<std::uint8_t> px = canvas->Indices();
        auto ink = [&px](int x, int y) { return x >= 0 && y >= 0 && px[y * 81 + x] != Black; };
        int inked = 0, paired = 0;
        for (int i = 0; i < 81 * 61; ++i) {
            if (px[i] == Black) continue;
            ++inked;
            paired += ink(80 - i % 81, 60 - i / 81) || ink(79 - i % 81, 59 - i / 81);
        }
        return inked > 20 ? static_cast<double>(paired) / inked : 0.0;
    };
    EXPECT_GT(partnered(2), 0.97);
    EXPECT_LT(partnered(1), 0.5);
}

TEST_F(PolygonTest, VerticesBounceOnTheCanvasEdgesInclusive) {
    Open(100, 50);
    Set(PolygonSpeedSlot, 320);
    Start(4);
    EXPECT_EQ(state.speed, 100);  // capped at the start only
    ::PolygonModule.speed = 4;
    ::PolygonModule.position[0] = {96, 48};
    ::PolygonModule.velocity[0] = {1, 1};
    Steps(1);
    EXPECT_EQ(state.position[0].x, 100);  // on the right edge itself
    EXPECT_EQ(state.position[0].y, 48);   // 52 would be past the bottom
    Steps(1);
    EXPECT_EQ(state.position[0].x, 100);
    EXPECT_EQ(state.velocity[0].x, -1);

    Oscillate(PolygonSpeedSlot, 300, 100000);  // live beyond 100, loud held to 320
    for (int i = 0; i < 60; ++i) {
        Steps(1);
        ASSERT_GT(state.speed, 100);
        ASSERT_LE(state.speed, 320);
        for (int k = 0; k < state.vertices; ++k) {
            ASSERT_TRUE(state.position[k].x >= 0 && state.position[k].x <= 100) << i;
            ASSERT_TRUE(state.position[k].y >= 0 && state.position[k].y <= 50) << i;
        }
    }
}

TEST_F(PolygonTest, EveryHundredSecondsNewVerticesAndControlsOverTheOldPicture) {
    Open(80, 60);
    record->source[PolygonVerticesSlot] = 1;  // random
    Start(6);
    Steps(30);
    const int inked = canvas->CountNot(Black);
    std::set<LONG> vertices;
    for (int i = 0; i < 8; ++i) {
        platform::AdvanceTestClock(100000);
        Steps(1);
        EXPECT_NE(state.colour, 1) << "restarted when the time was reached, not passed";
        platform::AdvanceTestClock(1);
        Steps(1);
        EXPECT_EQ(state.colour, 1);
        vertices.insert(state.vertices);
    }
    EXPECT_GE(canvas->CountNot(Black), inked);
    EXPECT_GT(vertices.size(), 2u);
}

TEST_F(PolygonTest, TinyCanvasesWithTheHeaviestControls) {
    // Tiles narrower than a pixel seed the vertices on the first column.
    for (int size : {1, 2, 9}) {
        Open(size, size + 1);
        Set(PolygonVerticesSlot, 20);
        Set(PolygonSpeedSlot, 320);
        Set(PolygonXTilesSlot, 20);
        Set(PolygonYTilesSlot, 20);
        Set(PolygonTileTypeSlot, 2);
        Oscillate(PolygonSymmetrySlot, 40, 1000000);
        Start(9);
        EXPECT_EQ(state.position[0].x, 0);
        for (int i = 0; i < 20; ++i) {
            Steps(1);
            ASSERT_LE(state.symmetry, 50);
            ASSERT_LE(state.position[i].x, size);
        }
    }
}

}  // namespace
