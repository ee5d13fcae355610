#include <cmath>
#include <vector>

#include "module_fixture.h"
#include "saver/modules/vortex.h"

namespace {

using modtest::Black;
using modtest::InkIn;

class VortexTest : public modtest::ModuleTest {
protected:
    VortexTest() : ModuleTest(ModuleVortex) {}
    const VortexState& state = ::Vortex;
};

TEST_F(VortexTest, WithoutFluxAmplitudeTheRingIsARegularPolygon) {
    Open(160, 120);  // half diagonal 100
    Set(VortexPointsSlot, 12);
    Set(VortexFluxAmplitudeSlot, 0);
    Start(2);
    for (int i = 0; i < 12; ++i) {
        const VortexPoint& p = state.point[i];
        const VortexPoint& next = state.point[(i + 1) % 12];
        EXPECT_NEAR(std::hypot(p.x - 80, p.y - 60), 100.0, 2.0) << i;
        EXPECT_NEAR(std::hypot(p.x - next.x, p.y - next.y), 200 * std::sin(M_PI / 12), 2.5) << i;
        EXPECT_TRUE(p.previousX == 80 && p.previousY == 60) << i;
    }
    // The first step sweeps the outermost band only.
    EXPECT_EQ(Steps(1), StepIdle);
    const std::vector<std::uint8_t> px = canvas->Indices();
    EXPECT_GT(InkIn(px, 160, 0, 0, 10, 120), 0);
    EXPECT_EQ(InkIn(px, 160, 20, 20, 140, 100), 0);
}

TEST_F(VortexTest, CollapsesThenHoldsThePictureThenStartsAgain) {
    Open(64, 48);  // half diagonal 40
    Set(VortexCollapseSlot, 5);
    Set(VortexDurationSlot, 1);
    Start(5);
    int drawing = 0;
    while (state.collapsing && drawing < 20) {
        ASSERT_EQ(Steps(1), StepIdle);
        platform::AdvanceTestClock(600);  // the hold counts from the last drawing step
        ++drawing;
    }
    EXPECT_TRUE(drawing >= 7 && drawing < 20) << drawing;
    // The bands between successive rings cover the canvas down to the centre.
    EXPECT_GT(canvas->CountNot(Black), 64 * 48 * 95 / 100);

    const std::vector<std::uint8_t> held = canvas->Indices();
    platform::AdvanceTestClock(400);
    EXPECT_EQ(Steps(5), StepIdle);
    EXPECT_EQ(canvas->Indices(), held);
    platform::AdvanceTestClock(1);
    EXPECT_EQ(Steps(1), 0);
    EXPECT_TRUE(state.collapsing);
    EXPECT_EQ(Steps(1), StepIdle);
    EXPECT_NE(canvas->Indices(), held);  // drawn over the old picture
}

TEST_F(VortexTest, TilesOfType1LeaveTheEvenTilesEmpty) {
    Open(80, 60);
    Set(VortexXTilesSlot, 2);
    Set(VortexYTilesSlot, 2);
    Set(VortexTileTypeSlot, 1);
    Set(VortexCollapseSlot, 10);
    Start(7);
    Steps(20);
    // Each tile's ring reaches 25 pixels from its tile's centre, short of the
    // centres of the tiles beside it.
    const std::vector<std::uint8_t> px = canvas->Indices();
    EXPECT_EQ(InkIn(px, 80, 58, 13, 63, 18), 25);
    EXPECT_EQ(InkIn(px, 80, 18, 43, 23, 48), 25);
    EXPECT_EQ(InkIn(px, 80, 18, 13, 23, 18), 0);
    EXPECT_EQ(InkIn(px, 80, 58, 43, 63, 48), 0);
}

TEST_F(VortexTest, TinyCanvasesAndLoudControlsStayFinite) {
    // A Spasticity past 300 would make the wobble period 0 or negative.
    for (int size : {1, 3, 9}) {
        Open(size, size * 2 / 3 + 1);
        Set(VortexPointsSlot, 199);
        Set(VortexTypeSlot, 3);
        Set(VortexDurationSlot, 0);
        Set(VortexCollapseSlot, 50);
        Set(VortexXTilesSlot, 20);
        Set(VortexYTilesSlot, 2);
        Oscillate(VortexSpasticitySlot, 250, 100000);
        Oscillate(VortexAmplitudeSlot, 100, 100000);
        Oscillate(VortexFluxAmplitudeSlot, 300, 100000);
        Start(11);
        for (int i = 0; i < 30; ++i) {
            platform::AdvanceTestClock(7);
            Steps(1);
            ASSERT_GT(state.period, 0.0f);
            ASSERT_LE(state.depth, 401.0f);
            ASSERT_TRUE(std::isfinite(state.point[0].angle));
            for (int k = 0; k < state.points; ++k) ASSERT_LE(std::abs(state.point[k].x - state.centre.x), 410);
        }
    }
}

}  // namespace
