#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/framework/sources.h"
#include "saver/modules/pattern.h"

namespace {

using modtest::Black;
using modtest::Canvas;
using modtest::HardwareIndex;
using Picture = std::vector<std::uint8_t>;

class PatternModule : public ::testing::Test {
protected:
    void TearDown() override {
        PatternFree(record);
        platform::UseRealClock();
    }

    void Open(int width, int height) {
        platform::UseTestClock(100000);
        canvas = std::make_unique<Canvas>(width, height);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModulePattern];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        PatternInit(record);
    }
    void Set(int slot, LONG value) { record->value[slot] = value; }
    void Start(unsigned seed) {
        std::srand(seed);
        PatternStart(record);
    }
    // Steps until the picture is complete; the step that completes it has
    // already prepared the next one (ring back at the canvas edge).
    void PaintWhole() {
        for (int n = 0; n < 10000; ++n) {
            PatternStep(record);
            if (Pattern.ring.left == 0) return;
        }
        FAIL() << "the picture never completed";
    }
    std::uint8_t At(const Picture& px, int x, int y) const {
        return px[static_cast<std::size_t>(y) * canvas->width() + x];
    }

    std::unique_ptr<Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(PatternModule, EveryPixelShowsItsPatternValueUpsideDown) {
    for (LONG type = 0; type < PatternTypeCount; ++type) {
        for (LONG turbulence : {0, 60}) {
            Open(41, 29);
            Set(PatternTypeSlot, type);
            Set(PatternTurbulenceSlot, turbulence);
            Set(PatternTurbulenceTypeSlot, type % TurbulenceTypeCount);
            const auto seed = static_cast<unsigned>(type + 7);
            Start(seed);
            PaintWhole();
            Start(seed);  // the painted picture's state again
            ASSERT_EQ(Pattern.turbulent, turbulence != 0);
            const Picture px = canvas->Indices();
            for (int y = 0; y < 29; ++y)
                for (int x = 0; x < 41; ++x) {
                    const LONG v = Pattern.function(record, x, 28 - y);
                    ASSERT_GE(v, 0) << "type " << type;
                    ASSERT_EQ(At(px, x, y), HardwareIndex(v % 236)) << "type " << type << " at " << x << "," << y;
                }
        }
    }
}

TEST_F(PatternModule, TilesAreMirrorImagesOfTheFirstVisibleTile) {
    for (LONG rows : {1, 2}) {
        Open(64, 40);
        Set(PatternXTilesSlot, 2);
        Set(PatternYTilesSlot, rows);
        Start(3);
        PaintWhole();
        const Picture px = canvas->Indices();
        EXPECT_GT(std::set<std::uint8_t>(px.begin(), px.end()).size(), 10u);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 64; ++x) {
                ASSERT_EQ(At(px, x, y), At(px, 63 - x, y)) << x << "," << y;
                if (rows == 2) {
                    ASSERT_EQ(At(px, x, y), At(px, x, 39 - y)) << x << "," << y;
                }
            }
    }
    // Without the first tile the ring is painted in tile (1, 0) and copied
    // upside down into tile (0, 1); the other two tiles stay black.
    Open(64, 40);
    Set(PatternXTilesSlot, 2);
    Set(PatternYTilesSlot, 2);
    Set(PatternTileTypeSlot, 1);
    Start(4);
    PaintWhole();
    const Picture px = canvas->Indices();
    EXPECT_EQ(modtest::InkIn(px, 64, 0, 0, 32, 20) + modtest::InkIn(px, 64, 32, 20, 64, 40), 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x) {
            ASSERT_NE(At(px, 32 + x, y), Black);
            ASSERT_EQ(At(px, x, 20 + y), At(px, 32 + x, 19 - y)) << x << "," << y;
        }
}

TEST_F(PatternModule, AFinishedPictureIsHeldForTheImageDuration) {
    Open(30, 20);
    Set(PatternDurationSlot, 5);
    Start(1);
    PaintWhole();
    const Picture finished = canvas->Indices();
    EXPECT_EQ(canvas->CountNot(Black), 30 * 20);
    for (int ms = 0; ms < 5000; ms += 250) {
        ASSERT_EQ(PatternStep(record), StepIdle) << ms;
        platform::AdvanceTestClock(250);
    }
    EXPECT_EQ(canvas->Indices(), finished);
    EXPECT_EQ(PatternStep(record), 0);
    EXPECT_NE(canvas->Indices(), finished);

    // A single tile that is not shown paints nothing and only waits.
    Open(30, 20);
    Set(PatternTileTypeSlot, 1);
    Set(PatternDurationSlot, 2);
    Start(1);
    int restarts = 0;
    for (int ms = 0; ms < 5000; ms += 100) {
        restarts += PatternStep(record) != StepIdle;
        platform::AdvanceTestClock(100);
    }
    EXPECT_EQ(restarts, 3);  // at 0, 2 and 4 seconds
    EXPECT_EQ(canvas->CountNot(Black), 0);
}

TEST_F(PatternModule, TypeNineteenOnATallCanvasReadsTheColumnProfileOfItsHeight) {
    Open(60, 60);
    Set(PatternTypeSlot, 19);
    Start(9);
    const std::vector<LONG> square(Pattern.columnProfile, Pattern.columnProfile + 60);
    Open(16, 60);
    Set(PatternTypeSlot, 19);
    Start(9);
    EXPECT_EQ(std::vector<LONG>(Pattern.columnProfile, Pattern.columnProfile + 60), square);
    PaintWhole();
    EXPECT_EQ(canvas->CountNot(Black), 16 * 60);
}

TEST_F(PatternModule, FoldedRingsRepeatBackAndForth) {
    Open(41, 29);
    Set(PatternFoldingSlot, 2);
    Set(PatternDurationSlot, 0);
    Start(5);
    EXPECT_EQ(Pattern.foldWidth, 4);
    PaintWhole();
    // The last of a ring's two columns is blitted over the other, and its
    // bottom row over the top row.
    const Picture px = canvas->Indices();
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x) {
            const bool column = std::min(x, 40 - x) <= std::min(y, 28 - y);
            ASSERT_EQ(At(px, x, y), column ? At(px, 40 - x, y) : At(px, x, 28 - y)) << x << "," << y;
        }
    const int a = 40 / 4 + 1;  // the outer row's period
    for (int i = 1; i < 40; ++i) {
        const int k = i % a, folded = (i / a) % 2 == 0 ? k : a - k;
        if (folded > 0) {
            ASSERT_EQ(At(px, i, 0), At(px, folded, 0)) << i;
        }
    }
    // A live Folding is the fold width itself, not twice the setting.
    record->source[PatternFoldingSlot] = SourceOscillate;
    record->rangeLo[PatternFoldingSlot] = record->rangeHi[PatternFoldingSlot] = 3;
    Start(5);
    EXPECT_EQ(Pattern.foldWidth, 6);
    PatternStep(record);
    EXPECT_EQ(Pattern.foldWidth, 3);
}

TEST_F(PatternModule, RandomChoicesStayInTheirRanges) {
    Open(8, 8);
    Set(PatternWavesSlot, 30);
    Set(PatternTurbulenceSlot, 100);
    Set(PatternTurbulenceTypeSlot, 5);
    std::set<LONG> types, turbulenceTypes;
    int turbulent = 0;
    for (unsigned seed = 1; seed <= 600; ++seed) {
        Start(seed);
        types.insert(Pattern.type);
        turbulenceTypes.insert(Pattern.turbulenceType);
        turbulent += Pattern.turbulent ? 1 : 0;
        ASSERT_GE(Pattern.waves, 1);
        ASSERT_LE(Pattern.waves, 30);
        ASSERT_GE(Pattern.turbulenceScale, 0.0f);
        ASSERT_LE(Pattern.turbulenceScale, 1100000.125f);
    }
    EXPECT_EQ(types.size(), static_cast<std::size_t>(PatternTypeCount));
    EXPECT_EQ(*types.begin(), 0);
    EXPECT_EQ(*types.rbegin(), PatternTypeCount - 1);
    EXPECT_EQ(turbulenceTypes, (std::set<LONG>{0, 1, 2, 3, 4}));
    EXPECT_NEAR(turbulent, 200, 50);
}

TEST_F(PatternModule, ExtremeTurbulenceAndTinyCanvasesKeepEveryReadInItsTable) {
    // A zero or vanishing scale throws the coordinates far past any table.
    for (LONG turbulenceType = 0; turbulenceType < TurbulenceTypeCount; ++turbulenceType) {
        for (float scale : {0.0f, 1e-30f}) {
            Open(23, 17);
            Set(PatternTurbulenceSlot, 50);
            Set(PatternTurbulenceTypeSlot, turbulenceType);
            Set(PatternTypeSlot, 14);
            Start(2);
            Pattern.turbulenceScale = scale;
            PaintWhole();
            EXPECT_EQ(canvas->CountNot(Black), 23 * 17) << turbulenceType;
        }
    }
    // Previews: whatever fits is drawn, nothing past the buffers.
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {3, 2}, {9, 7}, {2, 9}}) {
        for (LONG type = 0; type < PatternTypeCount; ++type) {
            Open(w, h);
            Set(PatternTypeSlot, type);
            Set(PatternTurbulenceSlot, 100);
            Set(PatternTurbulenceTypeSlot, 5);
            Set(PatternFoldingSlot, type % 3);
            Set(PatternXTilesSlot, type % 2 ? 20 : 1);
            Set(PatternYTilesSlot, type % 4 ? 3 : 20);
            Set(PatternTileTypeSlot, type % 4);
            Set(PatternDurationSlot, 0);
            Start(static_cast<unsigned>(type));
            for (int n = 0; n < 12; ++n) PatternStep(record);
            for (std::uint8_t v : canvas->Indices()) ASSERT_TRUE(v == Black || (v >= 10 && v <= 245));
        }
    }
}

TEST_F(PatternModule, WithoutBuffersNothingIsDrawn) {
    setenv("LUMORA_DEBUG", "1", 1);
    for (LONG width : {PatternLargestSide + 1, -4}) {
        testing::internal::CaptureStderr();
        Open(32, 24);
        record->width = width;
        PatternInit(record);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not allocate buffers"), std::string::npos);
        Start(1);
        for (int n = 0; n < 20; ++n) EXPECT_EQ(PatternStep(record), StepIdle);
        EXPECT_EQ(canvas->CountNot(Black), 0);
    }
    unsetenv("LUMORA_DEBUG");
}

}  // namespace
