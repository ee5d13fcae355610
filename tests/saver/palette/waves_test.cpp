// The wave routines and the random colour walk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "reference.h"
#include "saver/framework/sine_table.h"
#include "saver/palette/waves.h"

namespace {

TEST(Waves, TheTriangleStepCoversOnePeriodInTheTable) {
    std::vector<LONG> table(2048);
    FillTriangleWave(table.data(), TrianglePeriodStep);
    for (int k = 0; k < 2048; ++k) {
        ASSERT_EQ(table[k], ReferenceTriangle(k)) << "sample " << k;
    }
    EXPECT_EQ(table[512], 16383);
    EXPECT_EQ(table[1537], -16383);
    EXPECT_EQ(table[2047], -95);
}

TEST(Waves, TheTriangleTurnsAtItsPeaksForAnyStep) {
    std::vector<LONG> table(2048);
    FillTriangleWave(table.data(), 95.0f);
    for (LONG sample : table) {
        ASSERT_LE(sample, 16383);
        ASSERT_GE(sample, -16383);
    }
    EXPECT_EQ(table[1], 95);
    FillTriangleWave(table.data(), std::nanf(""));
    EXPECT_EQ(table[100], 0);
}

TEST(Waves, SmoothingWorksInPlaceFromTheLeft) {
    std::vector<LONG> table(2048, 0);
    table[5] = 300;
    table[2047] = 900;
    SmoothWave(table.data());
    // Each sample averages its already smoothed left neighbour.
    EXPECT_EQ(table[4], 100);
    EXPECT_EQ(table[5], 133);  // (100 + 300 + 0) / 3
    EXPECT_EQ(table[6], 44);
    EXPECT_EQ(table[7], 14);
    EXPECT_EQ(table[8], 4);
    EXPECT_EQ(table[9], 1);
    EXPECT_EQ(table[10], 0);
    EXPECT_EQ(table[2046], 300);
    EXPECT_EQ(table[2047], 900) << "the end samples stay";
    EXPECT_EQ(table[0], 0);
}

TEST(Waves, RoughAndNoisyWavesStayWithinTheirBounds) {
    std::srand(3);
    std::vector<LONG> table(2048);
    FillSineWave(table.data());
    RoughenWave(table.data());
    EXPECT_EQ(table[0], SineTable[0]);
    EXPECT_EQ(table[2047], SineTable[2047]);
    for (LONG sample : table) {
        ASSERT_LE(std::abs(sample), 16383);
    }
    FillNoisyWave(table.data());
    int differences = 0;
    for (int k = 0; k < 2047; ++k) {
        differences += table[k] != table[k + 1] ? 1 : 0;
        ASSERT_LE(std::abs(table[k]), 19659);
    }
    EXPECT_GT(differences, 1000);
}

TEST(RandomWalkPalette, WalksEachComponentByItsStepAndTurnsAtTheEnds) {
    std::srand(11);
    PALETTEENTRY colours[236];
    RandomWalkPalette(colours, 9, -4, 0);
    int turns = 0;
    for (int i = 1; i < 236; ++i) {
        const int dr = colours[i].peRed - colours[i - 1].peRed;
        const int dg = colours[i].peGreen - colours[i - 1].peGreen;
        EXPECT_TRUE(dr == 9 || dr == -9 || dr == 0) << i;
        EXPECT_TRUE(dg == 4 || dg == -4 || dg == 0) << i;
        turns += dr == 0 ? 1 : 0;
        EXPECT_EQ(colours[i].peBlue, colours[0].peBlue);
        EXPECT_EQ(colours[i].peFlags, 1);
    }
    // 235 steps of 9 cross the 0..255 range several times.
    EXPECT_GE(turns, 6);
}

}  // namespace
