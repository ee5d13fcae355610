#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <utility>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/framework/sources.h"
#include "saver/modules/sphere.h"
#include "saver/runtime/overlays.h"

namespace {

using modtest::Black;
using modtest::Canvas;
using modtest::HardwareIndex;

class SphereModule : public ::testing::Test {
protected:
    void TearDown() override {
        NameBox.hideTime = BoxHidden;
        OverlayDC = nullptr;
        if (record) SphereFree(record);
        platform::UseRealClock();
    }

    void Open(int width, int height) {
        if (record) SphereFree(record);
        platform::UseTestClock(100000);
        canvas = std::make_unique<Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModuleSphere];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        SphereInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        SphereStart(record);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) SphereStep(record);
    }
    // Which sprite drew a pixel, with Size 15: sprite i holds entries 20 i .. 20 i + 7.
    static std::set<int> SpritesIn(const std::vector<std::uint8_t>& px) {
        std::set<int> sprites;
        for (std::uint8_t v : px) {
            if (v != Black) sprites.insert((v - HardwareIndex(0)) / 20);
        }
        return sprites;
    }

    std::unique_ptr<Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(SphereModule, ColourMultiplierZeroKeepsEveryStampOnSpriteZero) {
    Open(160, 120);
    Set(SphereSizeSlot, 15);
    Start(2);
    Sphere.colourMultiplier = 0;
    Steps(40);
    EXPECT_EQ(SpritesIn(canvas->Indices()), std::set<int>{0});
    Sphere.colourMultiplier = 7;
    Steps(40);
    EXPECT_GT(SpritesIn(canvas->Indices()).size(), 3u);
}

TEST_F(SphereModule, Type24SpritesAreHorizontalBarsOfSuccessiveEntries) {
    // The sprites reach the Canvas through the sprite palette's explicit
    // entries, so sprite i starts at the Canvas's own index of entry 20 i.
    Open(64, 64);
    Set(SphereSizeSlot, 40);
    Set(SphereTypeSlot, 24);
    Start(1);
    for (int i = 0; i < SphereSpriteCount; ++i) {
        SelectObject(Sphere.spriteDC, Sphere.sprites[i]);
        BitBlt(canvas->dc(), 0, 0, 42, 42, Sphere.spriteDC, 0, 0, SRCCOPY);
        const auto px = canvas->Indices();
        auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y) * 64 + x]; };
        EXPECT_EQ(at(0, 0), HardwareIndex(20 * i));
        int run = 0, bars = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 1; x < 40; ++x) ASSERT_EQ(at(x, y), at(0, y)) << "sprite " << i << " at " << x << "," << y;
            if (y > 0 && at(0, y) != at(0, y - 1)) {
                EXPECT_EQ(at(0, y), at(0, y - 1) + 1) << "sprite " << i << " row " << y;
                // Each bar shows 3 rows; the next covers its fourth.
                if (bars++ > 0) {
                    EXPECT_EQ(run, 3) << "sprite " << i << " row " << y;
                }
                run = 0;
            }
            ++run;
        }
        EXPECT_EQ(bars, 13);
    }
}

TEST_F(SphereModule, ClipChangesKeepShownOverlayBoxesProtected) {
    Open(120, 90);
    Set(SphereSizeSlot, 60);
    Set(SphereTypeSlot, SphereWedgeClip | SphereMirror | SphereTileClip);
    Start(4);
    Steps(5);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas->dc(), clip), 0) << "a stamp's clip was left on the Canvas";

    canvas->Fill(BLACKNESS);
    OverlayDC = canvas->dc();
    NameBox = {{40, 30, 80, 60}, 0};
    ExcludeShownBoxes();
    Steps(60);
    const auto px = canvas->Indices();
    EXPECT_EQ(modtest::InkIn(px, 120, 40, 30, 80, 60), 0);
    EXPECT_GT(modtest::InkIn(px, 120, 0, 0, 120, 90), 500);
    ASSERT_EQ(GetClipRgn(canvas->dc(), clip), 1);
    EXPECT_FALSE(PtInRegion(clip, 60, 45));
    EXPECT_TRUE(PtInRegion(clip, 10, 10));
    DeleteObject(clip);
    SelectClipRgn(canvas->dc(), nullptr);
}

TEST_F(SphereModule, NewImageAfterItsDurationWithSpritesForTheLargestSize) {
    Open(80, 60);
    record->source[SphereSizeSlot] = SourceOscillate;
    record->rangeLo[SphereSizeSlot] = 15;
    record->rangeHi[SphereSizeSlot] = 40;
    Set(SphereDurationSlot, 2);
    Start(6);
    EXPECT_EQ(Sphere.size, 40);
    BITMAP sprite{};
    ASSERT_EQ(GetObjectA(Sphere.sprites[SphereSpriteCount - 1], sizeof sprite, &sprite), static_cast<int>(sizeof sprite));
    EXPECT_EQ(sprite.bmWidth, 42);
    const DWORD firstEnd = Sphere.endTime;
    EXPECT_EQ(firstEnd, GetTickCount() + 2000);

    const float phase = record->phase[SphereSizeSlot];
    platform::AdvanceTestClock(2000);
    Steps(1);
    EXPECT_NE(record->phase[SphereSizeSlot], phase) << "the live size's oscillation stood still";
    EXPECT_EQ(Sphere.size, 40);
    EXPECT_EQ(Sphere.endTime, firstEnd);
    platform::AdvanceTestClock(1);
    Steps(1);
    EXPECT_EQ(Sphere.endTime, GetTickCount() + 2000);
    EXPECT_TRUE(Sphere.spritesReady);
}

TEST_F(SphereModule, TinyCanvasesAndExtremeValuesDrawOnlyWhatFits) {
    auto run = [this](int w, int h, LONG symmetry, LONG type) {
        Open(w, h);
        Set(SphereSizeSlot, 250);
        Set(SphereSymmetrySlot, symmetry);
        Set(SphereTypeSlot, type);
        Set(SphereXTilesSlot, 20);
        Set(SphereYTilesSlot, 20);
        Start(3);
        Steps(1);
        return canvas->CountNot(Black);
    };
    // Tiles narrower than a pixel leave the tile clip nothing to show.
    EXPECT_EQ(run(1, 1, 128, 63), 0);
    // Sprites far larger than the canvas show through whatever fits.
    EXPECT_GT(run(3, 2, 8, SphereMirror | SphereRandomSize), 0);
    EXPECT_GT(run(9, 7, 8, 24), 0);

    // A distance far beyond the integer range (an unclamped sound level)
    // throws every stamp off the canvas instead of wrapping round.
    Open(40, 30);
    Start(1);
    Sphere.halfDiagonal = 1e30f;
    Steps(3);
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

}  // namespace
