#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>

#include "canvas.h"
#include "saver/framework/control_table.h"
#include "saver/modules/star.h"

namespace {

using modtest::Black;
using modtest::HardwareIndex;
using modtest::InkIn;

class StarModule : public ::testing::Test {
protected:
    void TearDown() override {
        if (record) StarFree(record);
    }
    void Open(int width, int height) {
        canvas = std::make_unique<modtest::Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModuleStar];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        StarInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        StarStart(record);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) StarStep(record);
    }
    // A single star at `p` whose last projection was `previous`, on a black
    // Canvas.
    void PlaceOneStar(Point3D p, POINT previous) {
        Set(StarCountSlot, 1);
        Start(1);
        canvas->Fill(BLACKNESS);
        ::Star.stars[0] = {p, previous.x, previous.y};
    }
    std::vector<std::uint8_t> Pixels() { return canvas->Indices(); }

    std::unique_ptr<modtest::Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(StarModule, ColourRunsFromOneAndWrapsBeforeTheEndOfThePalette) {
    Open(200, 150);
    Set(StarCountSlot, 0);  // the ring projects well inside this Canvas
    Start(3);
    Steps(1);
    ASSERT_GT(canvas->CountNot(Black), 0);
    for (auto v : Pixels()) ASSERT_TRUE(v == Black || v == HardwareIndex(1));
    for (int i = 2; i <= 2 * 236; ++i) {
        Steps(1);
        ASSERT_EQ(::Star.colour, i % 236) << "step " << i;
    }
}

TEST_F(StarModule, RingModeKeepsTwentyStarsOnTheRingThroughReseeding) {
    Open(200, 150);
    Set(StarCountSlot, 0);
    Set(StarSpeedSlot, 60);
    Start(7);
    ASSERT_TRUE(::Star.ringMode);
    ASSERT_EQ(::Star.count, 20);
    int reseeded = 0;
    for (int step = 0; step < 30; ++step) {
        double before[20];
        for (int i = 0; i < 20; ++i) before[i] = ::Star.stars[i].position.z;
        Steps(1);
        for (int i = 0; i < 20; ++i) {
            const Point3D& p = ::Star.stars[i].position;
            ASSERT_NEAR(std::hypot(p.x, p.y), 90.0, 1e-6);
            if (p.z > before[i]) {
                ++reseeded;
                EXPECT_GE(p.z, 200.0);
                EXPECT_LE(p.z, 350.0);
            } else {
                EXPECT_DOUBLE_EQ(p.z, before[i] - 60);
            }
        }
    }
    EXPECT_GT(reseeded, 20);
}

TEST_F(StarModule, StreakNeedsItsPreviousPositionStrictlyInsideTheCanvas) {
    Open(100, 80);
    const Point3D star{10, 0, 75};  // projects to about (60, 40) next step
    for (POINT previous : {POINT{0, 40}, POINT{100, 40}, POINT{50, 0}, POINT{50, 80}, POINT{-3, 40},
                           POINT{50, 500}}) {
        PlaceOneStar(star, previous);
        Steps(1);
        EXPECT_EQ(canvas->CountNot(Black), 0) << previous.x << "," << previous.y;
    }
    for (POINT previous : {POINT{1, 40}, POINT{99, 79}}) {
        PlaceOneStar(star, previous);
        Steps(1);
        EXPECT_GT(canvas->CountNot(Black), 0) << previous.x << "," << previous.y;
    }
}

TEST_F(StarModule, StreaksRepeatAboutTheCentreAndOverVisibleTiles) {
    Open(100, 80);
    // Both ends of the streak lie in the top-left quadrant.
    auto quadrants = [this](LONG symmetry, LONG xTiles, LONG tileType) {
        Set(StarSymmetrySlot, symmetry);
        Set(StarXTilesSlot, xTiles);
        Set(StarTileTypeSlot, tileType);
        PlaceOneStar({-30, 20, 75}, {30, 25});
        Steps(1);
        const auto px = Pixels();
        return std::vector<int>{InkIn(px, 100, 0, 0, 50, 40), InkIn(px, 100, 50, 0, 100, 40),
                                InkIn(px, 100, 0, 40, 50, 80), InkIn(px, 100, 50, 40, 100, 80)};
    };
    const auto plain = quadrants(1, 1, 0);
    EXPECT_GT(plain[0], 0);
    EXPECT_EQ(plain[1] + plain[2] + plain[3], 0);
    for (int ink : quadrants(4, 1, 0)) EXPECT_GT(ink, 0);
    const auto tiled = quadrants(1, 2, 0);
    EXPECT_GT(tiled[0], 0);
    EXPECT_GT(tiled[1], 0);
    const auto oddTiles = quadrants(1, 2, 1);
    EXPECT_EQ(oddTiles[0], 0);
    EXPECT_GT(oddTiles[1], 0);
}

TEST_F(StarModule, StarsAtTheEyeAndExtremeSettingsStaySafe) {
    // Right in front of the eye the new end projects beyond the 32-bit
    // range; the streak is cut at the edge of the picture, not walked out.
    Open(200, 150);
    Set(StarSpeedSlot, 1);
    Set(StarSizeSlot, 10);
    Set(StarSidesSlot, 5);
    Set(StarSymmetrySlot, 3);
    PlaceOneStar({1000, 1000, -124 + 1e-9}, {100, 75});
    Steps(1);
    EXPECT_EQ(::Star.stars[0].sx, 2147483647);
    EXPECT_GT(InkIn(Pixels(), 200, 150, 0, 200, 10), 0) << "the streak reaches the top edge";

    // Every control at its heaviest end, the stamps' nesting and the tile
    // grid taking turns: together they cost seconds a step, not more safety.
    const std::pair<int, LONG> heaviest[] = {{StarCountSlot, 99},     {StarSizeSlot, 320},    {StarSpeedSlot, 60},
                                             {StarXRevolveSlot, 99},  {StarYRevolveSlot, -99}, {StarZRevolveSlot, 99},
                                             {StarRotationSlot, 100}, {StarSymmetrySlot, 128}};
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{20, 20}}) {
        for (bool nested : {true, false}) {
            Open(w, h);
            for (auto [slot, value] : heaviest) Set(slot, value);
            Set(StarSidesSlot, nested ? 10 : 1);
            Set(StarTypeSlot, nested ? 8 : 0);
            Set(StarXTilesSlot, nested ? 1 : 20);
            Set(StarYTilesSlot, nested ? 1 : 20);
            Start(5);
            Steps(10);
        }
    }
}

TEST_F(StarModule, LiveControlsFollowTheirSourceWithinTheirLimits) {
    Open(120, 90);
    auto oscillate = [this](int slot, LONG lo, LONG hi) {
        record->source[slot] = 2;
        record->rangeLo[slot] = lo;
        record->rangeHi[slot] = hi;
    };
    // Ranges beyond the limits stand for unclamped sound levels.
    oscillate(StarSymmetrySlot, 1, 1000);
    oscillate(StarXRevolveSlot, -150, 150);
    oscillate(StarRotationSlot, 50, 100);
    record->source[StarSizeSlot] = 1;  // random: drawn once per image
    Start(9);
    const LONG size = ::Star.size;
    std::set<LONG> symmetries;
    std::set<double> revolves;
    std::set<float> spins;
    for (int i = 0; i < 60; ++i) {
        Steps(1);
        symmetries.insert(::Star.symmetry);
        revolves.insert(::Star.xRevolve);
        spins.insert(::Star.stamp.angleStep);
        ASSERT_EQ(::Star.size, size);
        ASSERT_FLOAT_EQ(::Star.symmetryStep, 6.2832f / static_cast<float>(::Star.symmetry));
    }
    EXPECT_GT(symmetries.size(), 3u);
    EXPECT_EQ(*symmetries.rbegin(), 128);
    EXPECT_GT(revolves.size(), 3u);
    EXPECT_DOUBLE_EQ(*revolves.rbegin(), 99 * 0.0004);
    EXPECT_DOUBLE_EQ(*revolves.begin(), -99 * 0.0004);
    EXPECT_GT(spins.size(), 3u);
    EXPECT_GE(*spins.begin(), 50 * 0.007f - 1e-6f);
}

}  // namespace
