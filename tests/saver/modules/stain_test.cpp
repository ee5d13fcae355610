#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/framework/sources.h"
#include "saver/modules/stain.h"

namespace {

using modtest::Black;
using modtest::HardwareIndex;

// Pixel value v shows palette entry v; values beyond 235 show entry 0.
std::uint8_t Shown(BYTE v) { return HardwareIndex(v < 236 ? v : 0); }

std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

// The dipole field and the weighted colour in 64 bits, cut to 32 bits only
// where a 32-bit machine keeps a result.
BYTE ReferenceDipole(LONG x, LONG y, bool* wrapped) {
    std::int64_t a = 0, b = 0;
    for (int i = 0; i < ::Stain.nodeCount; ++i) {
        const std::int64_t dx = ::Stain.nodes[i].x - x, dy = ::Stain.nodes[i].y - y;
        const std::int64_t d2 = dx * dx + dy * dy, w = ::Stain.nodes[i + 1].x;
        if (d2 == 0) return 0;
        const std::int64_t pa = dx * dx * dy * w * 16, pb = dx * dy * dy * w * 16;
        *wrapped |= pa != Wrap(pa) || pb != Wrap(pb);
        a += Wrap(pa) / d2;
        b += Wrap(pb) / d2;
    }
    const std::int64_t a4 = Wrap(a) >> 4, b4 = Wrap(b) >> 4;
    const double root = std::sqrt(static_cast<double>(Wrap(a4 * a4 + b4 * b4)));
    const std::int32_t r = std::isnan(root) ? 0 : static_cast<std::int32_t>(root);
    return static_cast<BYTE>((r >> 7) % 236);
}

BYTE ReferenceWeighted(LONG x, LONG y, bool* wrapped) {
    std::int64_t weighted = 0, sum = 0;
    for (int i = 0; i < ::Stain.nodeCount; ++i) {
        const std::int64_t dx = ::Stain.nodes[i].x - x, dy = ::Stain.nodes[i].y - y;
        weighted += (dx * dx + dy * dy) * ::Stain.nodes[i].colour;
        sum += dx * dx + dy * dy;
    }
    *wrapped |= weighted != Wrap(weighted);
    const std::int32_t divisor = Wrap(sum) >> 2;
    return divisor == 0 ? 0 : static_cast<BYTE>(Wrap(weighted) / divisor % 236);
}

class StainModule : public ::testing::Test {
protected:
    void TearDown() override {
        if (record) StainFree(record);
        platform::UseRealClock();
    }
    void Open(int width, int height) {
        if (record) StainFree(record);
        platform::UseTestClock(100000);
        canvas = std::make_unique<modtest::Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModuleStain];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        StainInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        StainStart(record);
    }
    // Steps until the picture in progress is finished and the next one waits.
    void Finish() {
        for (int n = 0; n < 100000 && StainStep(record) != StepIdle; ++n) {
        }
    }

    std::unique_ptr<modtest::Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(StainModule, PictureStartPlacesColouredNodesAndPicksARandomType) {
    Open(60, 50);
    Set(StainNodesSlot, 4);
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Start(seed);
        ASSERT_EQ(::Stain.nodeCount, 4);
        for (int i = 0; i < 4; ++i) {
            const StainNode& node = ::Stain.nodes[i];
            const LONG lo = i % 2 == 0 ? 177 : 0;
            EXPECT_TRUE(node.colour >= lo && node.colour <= lo + 58) << i << ": " << node.colour;
            EXPECT_TRUE(node.x >= 4 && node.x <= 54 && node.y >= 4 && node.y <= 44);
        }
    }
    Set(StainNodesSlot, 3);
    Set(StainTypeSlot, 10);
    std::vector<int> types(10), counts(5);
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Start(seed);
        ASSERT_TRUE(::Stain.type >= 0 && ::Stain.type <= 9);
        ASSERT_TRUE(::Stain.nodeCount >= 2 && ::Stain.nodeCount <= 3);
        ++types[::Stain.type];
        ++counts[::Stain.nodeCount];
        EXPECT_EQ(::Stain.pattern, StainPatterns[::Stain.type]);
    }
    for (int t = 0; t < 10; ++t) EXPECT_GT(types[t], 0) << t;
    EXPECT_GT(counts[2], 0);
    EXPECT_GT(counts[3], 0);
}

TEST_F(StainModule, OverflowingProductsWrapToTheir32BitResult) {
    Open(3840, 2160);
    Set(StainNodesSlot, 4);
    for (LONG type : {1, 5}) {
        Set(StainTypeSlot, type);
        Start(7);
        bool wrapped = false;
        for (LONG y = 0; y <= ::Stain.hm; y += 4) {
            for (LONG x = 0; x <= ::Stain.wm; x += 4) {
                const BYTE want = type == 5 ? ReferenceDipole(x, y, &wrapped) : ReferenceWeighted(x, y, &wrapped);
                ASSERT_EQ(::Stain.pattern(x, y), want) << type << " at " << x << "," << y;
            }
        }
        EXPECT_TRUE(wrapped) << "type " << type << " never left 32 bits";
    }
    for (int i = 0; i < ::Stain.nodeCount; ++i) EXPECT_EQ(::Stain.pattern(::Stain.nodes[i].x, ::Stain.nodes[i].y), 0);
}

TEST_F(StainModule, PictureIsThePatternTurnedOverInItsTile) {
    // A wide canvas grows the rings along a row, a tall one along a column;
    // either way the finished tile is the pattern upside down.
    for (auto [w, h] : {std::pair{41, 29}, std::pair{22, 35}}) {
        for (LONG type = 0; type < 10; ++type) {
            Open(w, h);
            Set(StainTypeSlot, type);
            Start(static_cast<unsigned>(type + 11));
            const LONG wm = w - 1, hm = h - 1;
            const LONG right = wm <= hm ? (wm >> 1) * 2 : wm;
            const LONG bottom = wm <= hm ? hm : (hm >> 1) * 2;
            const LONG turn = wm <= hm ? hm : bottom;
            std::vector<std::uint8_t> want(static_cast<std::size_t>(w) * h, Black);
            for (LONG y = 0; y <= bottom; ++y)
                for (LONG x = 0; x <= right; ++x) want[y * w + x] = Shown(::Stain.pattern(x, turn - y));
            Finish();
            ASSERT_EQ(canvas->Indices(), want) << w << "x" << h << " type " << type;
        }
    }
}

TEST_F(StainModule, OddTilesOnlyAreDrawnWhenTheFirstTileIsHidden) {
    Open(41, 41);
    Set(StainXTilesSlot, 2);
    Set(StainYTilesSlot, 2);
    Set(StainTileTypeSlot, 1);
    Start(5);
    Finish();
    const std::vector<std::uint8_t> px = canvas->Indices();
    // Tiles of (41 - 1) / 2 pixels, each drawn one pixel wider: the drawn
    // tiles meet the hidden ones on row and column 20.
    const int t = 20;
    EXPECT_EQ(modtest::InkIn(px, 41, 0, 0, t, t), 0) << "tile (0, 0)";
    EXPECT_EQ(modtest::InkIn(px, 41, t + 1, t + 1, 41, 41), 0) << "tile (1, 1)";
    EXPECT_GT(modtest::InkIn(px, 41, t, 0, 2 * t, t), t * t / 2) << "tile (1, 0)";
    EXPECT_GT(modtest::InkIn(px, 41, 0, t, t, 2 * t), t * t / 2) << "tile (0, 1)";
}

TEST_F(StainModule, FoldedEdgesZigZagAndFoldingDoublesOnlyAtStart) {
    Open(97, 41);
    Set(StainFoldingSlot, 3);
    Set(StainTypeSlot, 2);
    Start(3);
    EXPECT_EQ(::Stain.folding, 6);
    Finish();
    // The last ring is the tile border, 96 wide: a run of 17 values goes
    // forward and back every 34 pixels, and the top edge copies the bottom.
    const std::vector<std::uint8_t> px = canvas->Indices();
    auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y) * 97 + x]; };
    for (int x = 1; x < 96; ++x) {
        ASSERT_EQ(at(x, 0), at(x, 40)) << x;
        if (x + 34 < 96) {
            ASSERT_EQ(at(x, 40), at(x + 34, 40)) << x;
        }
        if (x > 17 && x < 34) {
            ASSERT_EQ(at(x, 40), at(34 - x, 40)) << x;
        }
    }

    record->source[StainFoldingSlot] = SourceOscillate;
    record->rangeLo[StainFoldingSlot] = record->rangeHi[StainFoldingSlot] = 3;
    Start(3);
    EXPECT_EQ(::Stain.folding, 6);
    platform::AdvanceTestClock(::Stain.holdTime);
    StainStep(record);
    EXPECT_EQ(::Stain.folding, 3);
}

TEST_F(StainModule, HeldPictureStaysUntilItsDurationHasPassed) {
    Open(40, 30);
    Set(StainDurationSlot, 2);
    Start(5);
    Finish();
    const std::vector<std::uint8_t> held = canvas->Indices();
    EXPECT_EQ(canvas->CountNot(Black), 40 * 29);  // the last row lies beyond the border of an odd tile
    for (int i = 0; i < 50; ++i) {
        platform::AdvanceTestClock(39);
        ASSERT_EQ(StainStep(record), StepIdle);
    }
    EXPECT_EQ(canvas->Indices(), held);
    platform::AdvanceTestClock(2000 - 50 * 39);
    EXPECT_EQ(StainStep(record), 0);
    EXPECT_NE(canvas->Indices(), held);

    // With no visible tile the picture is done at once, forever.
    Open(40, 30);
    Set(StainTileTypeSlot, 1);
    Start(5);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(StainStep(record), 0);
        EXPECT_EQ(StainStep(record), StepIdle);
        platform::AdvanceTestClock(::Stain.holdTime);
    }
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

TEST_F(StainModule, TinyCanvasesDrawWhatFits) {
    // Side by side: the pixels a finished picture covers.
    for (auto [w, h, covered] : {std::tuple{1, 1, 1}, std::tuple{3, 2, 3}, std::tuple{9, 7, 63}, std::tuple{2, 9, 9}}) {
        for (LONG type = 0; type < 10; ++type) {
            for (LONG tiles : {1, 20}) {
                for (LONG folding : {0, 20}) {
                    Open(w, h);
                    Set(StainTypeSlot, type);
                    Set(StainFoldingSlot, folding);
                    Set(StainXTilesSlot, tiles);
                    Set(StainYTilesSlot, tiles);
                    Start(static_cast<unsigned>(type + 1));
                    Finish();
                    const int ink = canvas->CountNot(Black);
                    if (tiles == 1) {
                        EXPECT_EQ(ink, covered) << w << "x" << h << " type " << type;
                    }
                    EXPECT_LE(ink, covered);
                }
            }
        }
    }
}

}  // namespace
