// The custom colour operations on the custom colours of the palette record,
// shown through a palette made from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "saver/framework/module_record.h"
#include "saver/palette/custom_colours.h"

namespace {

class CustomColoursTest : public testing::Test {
protected:
    void SetUp() override {
        record_ = std::make_unique<PaletteSettings>();
        for (int i = 0; i < PaletteEntryCount; ++i) {
            colours()[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE((i * 7) & 255), PC_RESERVED};
        }
        CurrentPalette = record_.get();
        palette_ = CreateCustomPalette();
        ASSERT_NE(palette_, nullptr);
    }
    void TearDown() override {
        DeleteObject(palette_);
        CurrentPalette = nullptr;
    }

    PALETTEENTRY* colours() { return record_->customColours; }
    void select(int first, int last) {
        std::memset(selection_, 0, sizeof selection_);
        for (int i = first; i <= last; ++i) selection_[i] = 1;
    }
    // What the palette shows now.
    PALETTEENTRY shown(int i) {
        PALETTEENTRY entry{};
        GetPaletteEntries(palette_, static_cast<UINT>(i), 1, &entry);
        return entry;
    }
    static bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) {
        return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
    }
    bool unchanged(const PALETTEENTRY* before) {
        return std::memcmp(before, colours(), sizeof(PALETTEENTRY) * PaletteEntryCount) == 0;
    }

    std::unique_ptr<PaletteSettings> record_;
    HPALETTE palette_ = nullptr;
    DWORD selection_[PaletteEntryCount] = {};
};

TEST_F(CustomColoursTest, SmoothAndRoughKeepTheEndsAndRoughNeverWraps) {
    const BYTE blues[4] = {0, 100, 0, 50};
    for (int i = 0; i < 4; ++i) colours()[i].peBlue = blues[i];
    PALETTEENTRY before[PaletteEntryCount];
    std::memcpy(before, colours(), sizeof before);
    select(0, PaletteEntryCount - 1);
    SmoothColours(palette_, selection_, 0, 0, 0);
    EXPECT_TRUE(Same(colours()[0], before[0]));
    EXPECT_TRUE(Same(colours()[235], before[235]));
    // In place: entry 2 blends the already smoothed entry 1.
    const int one = (before[0].peBlue + 3 * before[1].peBlue + before[2].peBlue) / 5;
    EXPECT_EQ(colours()[1].peBlue, one);
    EXPECT_EQ(colours()[2].peBlue, (one + 3 * before[2].peBlue + before[3].peBlue) / 5);
    EXPECT_TRUE(Same(shown(2), colours()[2]));

    // Channels near the top: a draw beyond 255 leaves the value alone.
    for (int i = 0; i < PaletteEntryCount; ++i) colours()[i] = PALETTEENTRY{250, 5, 128, PC_RESERVED};
    std::srand(7);
    RoughenColours(palette_, selection_, 0, 1, 0);  // green masked: no draw for it
    std::srand(7);
    for (int i = 1; i < PaletteEntryCount - 1; ++i) {
        const int red = 250 + std::rand() % 21 - 10;
        const int blue = 128 + std::rand() % 21 - 10;
        EXPECT_EQ(colours()[i].peRed, red <= 255 ? red : 250) << i;
        EXPECT_EQ(colours()[i].peBlue, blue) << i;
        EXPECT_EQ(colours()[i].peGreen, 5) << i;
    }
    EXPECT_EQ(colours()[0].peRed, 250);
    EXPECT_EQ(colours()[235].peBlue, 128);
}

TEST_F(CustomColoursTest, GradientAndReverseNeedEntriesBetweenTheEnds) {
    PALETTEENTRY before[PaletteEntryCount];
    std::memcpy(before, colours(), sizeof before);
    select(10, 11);
    GradientColours(palette_, selection_, 0, 0, 0);
    ReverseColours(palette_, selection_, 0, 0, 0);
    EXPECT_TRUE(unchanged(before));

    select(20, 22);
    ReverseColours(palette_, selection_, 0, 0, 0);
    EXPECT_TRUE(Same(colours()[20], before[22]));
    EXPECT_TRUE(Same(colours()[21], before[21]));
    EXPECT_TRUE(Same(colours()[22], before[20]));

    colours()[30] = PALETTEENTRY{0, 200, 9, PC_RESERVED};
    colours()[34] = PALETTEENTRY{100, 0, 1, PC_RESERVED};
    select(30, 34);
    GradientColours(palette_, selection_, 0, 0, 1);  // blue masked
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(colours()[30 + k].peRed, 100 * k / 4) << k;
        EXPECT_EQ(colours()[30 + k].peGreen, 200 * (4 - k) / 4) << k;
        if (k > 0 && k < 4) {
            EXPECT_EQ(colours()[30 + k].peBlue, before[30 + k].peBlue) << k;
        }
    }
    EXPECT_TRUE(Same(shown(32), colours()[32]));
}

TEST_F(CustomColoursTest, CopyToThinsOrStretchesTheSourceAndMergeAverages) {
    PALETTEENTRY backup[PaletteEntryCount];
    std::memcpy(backup, colours(), sizeof backup);
    select(100, 104);
    CopyColoursTo(palette_, backup, 0, 9, selection_, 0, 0, 0);
    for (int k = 0; k < 5; ++k) EXPECT_TRUE(Same(colours()[100 + k], backup[2 * k])) << k;

    select(120, 139);
    CopyColoursTo(palette_, backup, 0, 9, selection_, 0, 1, 0);  // green masked
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(colours()[120 + k].peRed, backup[k / 2].peRed) << k;
        EXPECT_EQ(colours()[120 + k].peGreen, backup[120 + k].peGreen) << k;
    }
    EXPECT_TRUE(Same(shown(139), colours()[139]));

    // The whole table onto one entry, and back onto the whole table: every
    // source index stays inside the table.
    select(0, 0);
    CopyColoursTo(palette_, backup, 0, 235, selection_, 0, 0, 0);
    EXPECT_TRUE(Same(colours()[0], backup[0]));
    select(0, 235);
    MergeColoursTo(palette_, backup, 235, 235, selection_, 0, 0, 0);
    EXPECT_EQ(colours()[50].peRed, (backup[50].peRed + backup[235].peRed) / 2);
}

TEST_F(CustomColoursTest, MasksProtectTheirChannels) {
    PALETTEENTRY before[PaletteEntryCount];
    std::memcpy(before, colours(), sizeof before);
    select(40, 49);
    NegateColours(palette_, selection_, 1, 0, 0);
    EXPECT_EQ(colours()[45].peRed, before[45].peRed);
    EXPECT_EQ(colours()[45].peGreen, 255 - before[45].peGreen);
    EXPECT_EQ(colours()[45].peBlue, 255 - before[45].peBlue);
    EXPECT_TRUE(Same(colours()[50], before[50]));

    std::memcpy(colours(), before, sizeof before);
    RotateChannels(palette_, selection_, 0, 1, 0);
    EXPECT_EQ(colours()[41].peRed, before[41].peGreen);
    EXPECT_EQ(colours()[41].peGreen, before[41].peGreen);
    EXPECT_EQ(colours()[41].peBlue, before[41].peRed);

    // Every channel masked: Random changes nothing, and still shows the
    // colours (here changed behind the palette's back).
    colours()[3] = PALETTEENTRY{1, 2, 3, PC_RESERVED};
    std::memcpy(before, colours(), sizeof before);
    select(0, 235);
    RandomColours(palette_, 3, 5, 7, 1, 1, 1, selection_);
    EXPECT_TRUE(unchanged(before));
    EXPECT_TRUE(Same(shown(3), colours()[3]));

    SetColour(palette_, 7, 11, 22, 33, 0, 1, 0);
    EXPECT_EQ(colours()[7].peRed, 11);
    EXPECT_EQ(colours()[7].peGreen, before[7].peGreen);
    EXPECT_EQ(colours()[7].peBlue, 33);
}

TEST_F(CustomColoursTest, RandomWalksOnlyOverTheSelection) {
    select(10, 12);
    std::srand(3);
    RandomColours(palette_, 7, -7, 0, 0, 0, 0, selection_);
    std::srand(3);
    int r = std::rand() & 255, g = std::rand() & 255, b = std::rand() & 255;
    int sr = 7, sg = -7;
    for (int i = 10; i <= 12; ++i) {
        if (r + sr >= 0 && r + sr <= 255) {
            r += sr;
        } else {
            sr = -sr;
        }
        if (g + sg >= 0 && g + sg <= 255) {
            g += sg;
        } else {
            sg = -sg;
        }
        EXPECT_EQ(colours()[i].peRed, r) << i;
        EXPECT_EQ(colours()[i].peGreen, g) << i;
        EXPECT_EQ(colours()[i].peBlue, b) << i;
    }
    EXPECT_EQ(colours()[13].peRed, 13);
}

TEST_F(CustomColoursTest, ScaleWorksFromTheBackupAndStaysInRange) {
    PALETTEENTRY backup[PaletteEntryCount];
    std::memcpy(backup, colours(), sizeof backup);
    colours()[60].peRed = 0;  // the result never depends on what is there
    ScaleColours(palette_, 60, 62, 0.5f, 4.0f, 1.0f, backup);
    EXPECT_EQ(colours()[60].peRed, backup[60].peRed / 2);
    EXPECT_EQ(colours()[61].peGreen, 255);
    EXPECT_EQ(colours()[62].peBlue, backup[62].peBlue);
    EXPECT_TRUE(Same(colours()[63], backup[63]));
    // A drag that began at 0: the factor has no finite value.
    const float zero = 0.0f;
    ScaleColours(palette_, 60, 60, 64.0f / zero, zero / zero, 1.0f, backup);
    EXPECT_EQ(colours()[60].peRed, 0);
    EXPECT_EQ(colours()[60].peGreen, 0);
    EXPECT_EQ(FirstSelected(selection_), -1);
    EXPECT_EQ(LastSelected(selection_), -1);
}

}  // namespace
