#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "canvas.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/modules/effect.h"

namespace {

using modtest::Canvas;
using modtest::HardwareIndex;
using Picture = std::vector<std::uint8_t>;

class EffectModule : public ::testing::Test {
protected:
    void TearDown() override { platform::UseRealClock(); }

    void Open(int width, int height) {
        platform::UseTestClock(50000);
        canvas = std::make_unique<Canvas>(width, height);
        RegisterAllControls();
        record = &ModuleTable[ModuleEffect];
        record->width = width;
        record->height = height;
        record->dc = canvas->dc();
        EffectInit(record);
        SetStretchBltMode(canvas->dc(), COLORONCOLOR);
    }
    // A picture without symmetry: neighbouring pixels hold neighbouring entries.
    void Paint() {
        for (int y = 0; y < canvas->height(); ++y)
            for (int x = 0; x < canvas->width(); ++x)
                SetPixel(canvas->dc(), x, y, PALETTEINDEX(static_cast<WORD>((x + 7 * y) % 236)));
    }
    // One transformation whose steps come out as exactly xs and ys.
    void Apply(LONG kind, LONG xs, LONG ys, unsigned seed = 1) {
        std::srand(seed);
        Effect.xStrength = xs - (std::rand() & 7);
        Effect.yStrength = ys - (std::rand() & 7);
        Effect.kind = kind;
        std::srand(seed);
        DoEffect(canvas->dc());
    }
    std::uint8_t At(const Picture& px, int x, int y) const {
        return px[static_cast<std::size_t>(y) * canvas->width() + x];
    }

    std::unique_ptr<Canvas> canvas;
    ModuleRecord* record = nullptr;
};

TEST_F(EffectModule, FramesWiderThanHalfThePictureInvertItOnce) {
    Open(64, 48);
    Paint();
    const Picture before = canvas->Indices();
    Apply(EffectInvertFrames, 40, 30);
    const Picture after = canvas->Indices();
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            // The frame spans W - 1 by H - 1: the last column and row stay.
            const bool inverted = x < 63 && y < 47;
            wrong += At(after, x, y) != (inverted ? 255 - At(before, x, y) : At(before, x, y));
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(EffectModule, InvertingKindsUndoThemselvesWithTheSameSteps) {
    Open(96, 72);
    Paint();
    const Picture before = canvas->Indices();
    for (LONG kind : {EffectInvertFrames, EffectXorEllipses, EffectInvertFramesTwice, EffectXorEllipsesTwice,
                      EffectInvertQuadrants, EffectXorQuadrants, EffectStripes}) {
        Apply(kind, 21, 9);
        EXPECT_NE(canvas->Indices(), before) << kind;
        Apply(kind, 21, 9);
        EXPECT_EQ(canvas->Indices(), before) << kind;
    }
}

TEST_F(EffectModule, FoldsMirrorTheTopLeftQuarter) {
    // Each copy spreads hw columns over hw + 1 and hh rows over hh + 1, so
    // a pixel shows its mirror image or a neighbour of it, by the stretch's
    // choice of source rows and columns.
    for (LONG kind : {EffectFirstFold, EffectFirstPatchedFold}) {
        Open(64, 48);
        Paint();
        const Picture before = canvas->Indices();
        Apply(kind, 100, 80);
        const Picture after = canvas->Indices();
        auto shows = [&](int x, int y, int sx, int sy, int dx, int dy) {
            for (int u : {sx, sx + dx})
                for (int v : {sy, sy + dy})
                    if (u >= 0 && v >= 0 && At(after, x, y) == At(after, u, v)) return true;
            return false;
        };
        int wrong = 0, quarterChanged = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x) quarterChanged += At(after, x, y) != At(before, x, y);
        for (int y = 0; y < 24; ++y)
            for (int x = 32; x < 64; ++x) wrong += !shows(x, y, 63 - x, y, x > 32 ? 1 : 0, -1);
        for (int y = 24; y < 48; ++y)
            for (int x = 0; x < 64; ++x) wrong += !shows(x, y, x, 47 - y, -1, y > 24 ? 1 : 0);
        EXPECT_EQ(wrong, 0) << kind;
        // Only the patch replaces the quarter the fold copies.
        EXPECT_EQ(quarterChanged > 0, kind == EffectFirstPatchedFold) << kind;
    }
}

TEST_F(EffectModule, StripeFlagRunsOnFromTheColumnsIntoTheRows) {
    // Columns of 20 while x < width - 20; rows of 10 while y < 40.
    for (auto [width, firstRowInverted] : {std::pair{70, false}, std::pair{90, true}}) {
        Open(width, 50);
        Apply(EffectStripes, 20, 10);
        const Picture px = canvas->Indices();
        const std::uint8_t row0 = firstRowInverted ? 255 : 0, row1 = firstRowInverted ? 0 : 255;
        EXPECT_EQ(At(px, 25, 5), row0) << width;
        EXPECT_EQ(At(px, 25, 15), row1) << width;
        EXPECT_EQ(At(px, 5, 5), 255 - row0) << width;  // an inverted column crosses both
        EXPECT_EQ(At(px, 5, 15), 255 - row1) << width;
        EXPECT_EQ(At(px, 5, 45), 255) << width;        // below the row bands
        EXPECT_EQ(At(px, 45, 45), 255) << width;
        EXPECT_EQ(At(px, 25, 45), 0) << width;
    }
}

TEST_F(EffectModule, BlobsTakeTheirRingsFromTheColourBeneath) {
    Open(80, 60);
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(50));
    const RECT all{0, 0, 80, 60};
    FillRect(canvas->dc(), &all, brush);
    DeleteObject(brush);
    const Picture before = canvas->Indices();
    ASSERT_EQ(GetNearestPaletteIndex(static_cast<HPALETTE>(GetCurrentObject(canvas->dc(), OBJ_PAL)),
                                     GetPixel(canvas->dc(), 0, 0)),
              50u);

    Apply(EffectFirstBlobs + 3, 40, 25);  // a count of 40 % 20 stamps nothing
    EXPECT_EQ(canvas->Indices(), before);

    Apply(EffectFirstBlobs, 21, 25);  // one sprite of 12 rings: entries 50..61
    std::set<std::uint8_t> entries;
    for (std::uint8_t v : canvas->Indices()) {
        EXPECT_TRUE(v >= HardwareIndex(50) && v <= HardwareIndex(61)) << int{v};
        entries.insert(v);
    }
    EXPECT_GE(entries.size(), 8u);
}

TEST_F(EffectModule, TransformsOncePerDisplayInterval) {
    Open(40, 30);
    Paint();
    record->value[EffectIntervalSlot] = 2;
    EffectStart(record);
    EXPECT_EQ(GetStretchBltMode(canvas->dc()), COLORONCOLOR);
    const Picture before = canvas->Indices();
    platform::AdvanceTestClock(1999);
    EffectStep(record);
    EXPECT_EQ(canvas->Indices(), before);
    platform::AdvanceTestClock(1);
    EffectStep(record);
    EXPECT_NE(canvas->Indices(), before);
    EXPECT_EQ(Effect.dueTime, GetTickCount() + 2000);

    // An interval of 0 transforms on every step.
    record->value[EffectIntervalSlot] = 0;
    EffectStart(record);
    for (int i = 0; i < 3; ++i) {
        const Picture last = canvas->Indices();
        EffectStep(record);
        EXPECT_NE(canvas->Indices(), last);
    }
}

TEST_F(EffectModule, EveryKindCopesWithTinyPictures) {
    // One pixel wide or high leaves the blob positions a range of no
    // values, and folds and stripes steps far larger than the picture.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{3, 2}}) {
        Open(w, h);
        Paint();
        for (LONG kind = 0; kind <= EffectRandomBlobs; ++kind) {
            Apply(kind, 2, 2, static_cast<unsigned>(kind));
            Apply(kind, 327, 247, static_cast<unsigned>(kind));
        }
        EXPECT_EQ(canvas->Indices().size(), static_cast<std::size_t>(w * h));
    }
}

}  // namespace
