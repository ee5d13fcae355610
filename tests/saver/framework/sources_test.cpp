// Control value sources: random draws, oscillation and sound levels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

#include "saver/framework/sine_table.h"
#include "saver/framework/sound_level.h"
#include "saver/framework/sources.h"
#include "saver/sound/spectrum_link.h"

namespace {

TEST(SineTable, HoldsOnePeriodOfRoundedSamples) {
    EXPECT_EQ(SineTable[0], 50);
    EXPECT_EQ(SineTable[509], 16382);
    EXPECT_EQ(SineTable[511], 16382);
    EXPECT_EQ(SineTable[1023], 0);
    EXPECT_EQ(SineTable[1533], -16382);
    EXPECT_EQ(SineTable[2047], 0);
    for (int i = 0; i < SineTableSize; ++i) {
        const long expected = std::lround(16382.0 * std::sin(2.0 * M_PI * (i + 1) / 2048.0));
        ASSERT_EQ(SineTable[i], expected) << "sample " << i;
    }
}

std::vector<float> Oscillation(int evaluations, LONG sense, LONG rangeLo, LONG rangeHi) {
    std::vector<float> values;
    float phase = 0.5f;
    for (int n = 0; n < evaluations; ++n) {
        values.push_back(EvaluateSource(SourceOscillate, phase, sense, rangeLo, rangeHi));
    }
    return values;
}

TEST(Oscillate, StartsFromThePhaseItIsGiven) {
    // Phase 0.5 + 10 x 0.0025 reads sample trunc(0.525 x 2048) = 1075, -2602.
    float phase = 0.5f;
    const float value = EvaluateSource(SourceOscillate, phase, 10, 0, 1000);
    EXPECT_FLOAT_EQ(phase, 0.525f);
    EXPECT_NEAR(value, 1000 * (-2602 * 6.103888e-5 * 0.5 + 0.5), 0.01);
    EXPECT_EQ(TruncateToLong(value), 420);
}

TEST(Oscillate, OnePeriodTakesFourHundredOverSenseEvaluations) {
    for (LONG sense : {1, 4, 10}) {
        SCOPED_TRACE(sense);
        const int period = 400 / sense;
        const std::vector<float> v = Oscillation(3 * period, sense, 0, 1000);
        float low = 1000;
        float high = 0;
        for (int k = 0; k < period; ++k) {
            // The same value a period later, the opposite one half a period later.
            EXPECT_NEAR(v[k + period], v[k], 2.0f);
            EXPECT_NEAR(v[k + period / 2], 1000 - v[k], 2.0f);
            low = std::min(low, v[k]);
            high = std::max(high, v[k]);
        }
        // A whole period sweeps the whole range.
        EXPECT_LT(low, 10.0f);
        EXPECT_GT(high, 990.0f);
    }
}

TEST(Oscillate, AnInvertedRangeRunsInTheOppositePhase) {
    const std::vector<float> up = Oscillation(40, 10, 20, 220);
    const std::vector<float> down = Oscillation(40, 10, 220, 20);
    for (int k = 0; k < 40; ++k) {
        EXPECT_NEAR(up[k] - 20, 220 - down[k], 0.01f) << k;
        EXPECT_GE(down[k], 20.0f);
        EXPECT_LE(down[k], 220.0f);
    }
}

TEST(Oscillate, StaysFiniteForAnyStoredState) {
    for (float start : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f,
                        -1e30f}) {
        float phase = start;
        const float value = EvaluateSource(SourceOscillate, phase, 10, -5, 5);
        EXPECT_GE(value, -5.0f);
        EXPECT_LE(value, 5.0f);
    }
    float phase = 0.5f;
    for (int n = 0; n < 3; ++n) {
        const float value = EvaluateSource(SourceOscillate, phase, INT32_MAX, INT32_MIN, INT32_MAX);
        EXPECT_TRUE(std::isfinite(value));
    }
}

ModuleRecord RecordWithSlots(std::initializer_list<LONG> sources, LONG rangeLo, LONG rangeHi) {
    ModuleRecord r{};
    int s = 0;
    for (LONG source : sources) {
        r.defined[s] = 1;
        r.source[s] = source;
        r.value[s] = -777;
        r.rangeLo[s] = rangeLo;
        r.rangeHi[s] = rangeHi;
        r.sense[s] = 10;
        r.phase[s] = 0.5f;
        ++s;
    }
    return r;
}

TEST(RandomizeControls, DrawsEveryValueOfTheRangeAndOnlyThose) {
    std::srand(7);
    std::set<LONG> seen;
    for (int n = 0; n < 300; ++n) {
        ModuleRecord r = RecordWithSlots({SourceRandom}, 5, 3);  // inverted: still 3..5
        RandomizeControls(&r);
        seen.insert(r.value[0]);
    }
    EXPECT_EQ(seen, (std::set<LONG>{3, 4, 5}));
}

TEST(RandomizeControls, TouchesOnlyDefinedSlotsThatAreNotFixed) {
    ModuleRecord r = RecordWithSlots({SourceSet, SourceRandom, SourceOscillate, SourceVolume}, 9, 9);
    r.source[19] = SourceRandom;  // undefined
    RandomizeControls(&r);
    EXPECT_EQ(r.value[0], -777);
    EXPECT_EQ(r.value[1], 9);
    EXPECT_EQ(r.value[2], 9);
    EXPECT_EQ(r.value[3], 9);
    EXPECT_EQ(r.value[19], 0);
}

TEST(AdvanceControls, EvaluatesOnlyOscillationAndSound) {
    ModuleRecord r = RecordWithSlots({SourceSet, SourceRandom, SourceOscillate}, 0, 1000);
    r.source[19] = SourceOscillate;  // looked at whether defined or not
    r.rangeHi[19] = 1000;
    r.phase[19] = 0.5f;
    r.sense[19] = 10;
    AdvanceControls(&r);
    EXPECT_EQ(r.value[0], -777);
    EXPECT_EQ(r.value[1], -777);
    EXPECT_EQ(r.value[2], 420);
    EXPECT_EQ(r.value[19], 420);
}

// Sound sources read the shared block of this test process.
class SoundSourceTest : public testing::Test {
protected:
    void SetUp() override {
        block_ = OpenSpectrumBlock();
        ASSERT_NE(block_, nullptr);
        SharedSpectrum = block_;
        block_->set(spectrum::running, 1);
        block_->set(spectrum::modulesFollowSound, 1);
        block_->set(spectrum::paletteFollowsSound, 1);
        block_->set(spectrum::autoGain, 0);
        block_->set(spectrum::turbo, 0);
        block_->set(spectrum::levelScale, 2.0f);
        block_->set(spectrum::bandScale, 4.0f);
        block_->set(spectrum::leftLevel, 1.0f);
        block_->set(spectrum::rightLevel, 0.5f);
        for (std::size_t b = 0; b < BandCount; ++b) {
            block_->set(spectrum::leftBands, b, 0.25f * static_cast<float>(b % 4));
            block_->set(spectrum::rightBands, b, 0.0f);
        }
    }
    void TearDown() override {
        SharedSpectrum = nullptr;
        CloseSpectrumBlock(block_);
    }

    // The value at sense 10, which follows the level exactly.
    float Follow(LONG source, LONG rangeLo, LONG rangeHi) {
        float phase = 0.5f;
        return EvaluateSource(source, phase, 10, rangeLo, rangeHi);
    }

    SpectrumBlock* block_ = nullptr;
};

TEST_F(SoundSourceTest, LevelsAreDividedByTheAnalysersFullScale) {
    EXPECT_FLOAT_EQ(SoundLevel(SourceVolume), 0.375f);
    EXPECT_FLOAT_EQ(SoundLevel(SourceLeft), 0.5f);
    EXPECT_FLOAT_EQ(SoundLevel(SourceRight), 0.25f);
    block_->set(spectrum::rightBands, 3, 1.0f);
    EXPECT_FLOAT_EQ(SoundLevel(SourceFirstBand + 3), (0.75f + 1.0f) / 8.0f);
    EXPECT_FLOAT_EQ(SoundLevel(SourceFirstBand + 2), 0.5f / 8.0f);
    EXPECT_EQ(SoundLevel(SourceOscillate), 0.0f);
    EXPECT_EQ(SoundLevel(SourceLastBand + 1), 0.0f);
}

TEST_F(SoundSourceTest, LevelsMapIntoTheRangeAndInvertedRangesMapLoudToLow) {
    EXPECT_FLOAT_EQ(Follow(SourceLeft, 100, 300), 200.0f);
    EXPECT_FLOAT_EQ(Follow(SourceLeft, 300, 100), 200.0f);
    EXPECT_FLOAT_EQ(Follow(SourceRight, 100, 300), 150.0f);
    EXPECT_FLOAT_EQ(Follow(SourceRight, 300, 100), 250.0f);
    // A range of one value gives that value, whatever the level.
    EXPECT_FLOAT_EQ(Follow(SourceVolume, 42, 42), 42.0f);
    // Without auto-gain nothing clamps a level above full scale.
    block_->set(spectrum::leftLevel, 6.0f);
    EXPECT_FLOAT_EQ(Follow(SourceLeft, 0, 10), 30.0f);
}

TEST_F(SoundSourceTest, SenseSmoothsTheLevel) {
    float phase = 0.5f;
    // Level 0.5 at sense 2: (0.5 x 2 + 8 x 0.5) x 0.1 = 0.5; then silence.
    EXPECT_FLOAT_EQ(EvaluateSource(SourceLeft, phase, 2, 0, 100), 50.0f);
    block_->set(spectrum::leftLevel, 0.0f);
    EXPECT_FLOAT_EQ(EvaluateSource(SourceLeft, phase, 2, 0, 100), 40.0f);
    EXPECT_FLOAT_EQ(EvaluateSource(SourceLeft, phase, 2, 0, 100), 32.0f);
    EXPECT_FLOAT_EQ(phase, 0.32f);
}

TEST_F(SoundSourceTest, TurboMakesEverySourceAboveVolumeFollowTheVolume) {
    const LONG band = SourceFirstBand + 3;
    EXPECT_FLOAT_EQ(Follow(band, 0, 800), 75.0f);
    EXPECT_FLOAT_EQ(Follow(SourceLeft, 0, 800), 400.0f);
    block_->set(spectrum::turbo, 1);
    EXPECT_FLOAT_EQ(Follow(SourceVolume, 0, 800), 300.0f);
    EXPECT_FLOAT_EQ(Follow(band, 0, 800), 300.0f);
    EXPECT_FLOAT_EQ(Follow(SourceLeft, 0, 800), 300.0f);
    EXPECT_FLOAT_EQ(Follow(SourceRight, 0, 800), 300.0f);
}

TEST_F(SoundSourceTest, BrokenLevelsCountAsSilence) {
    const float broken[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), -3.0f};
    for (DWORD autoGain : {0u, 1u}) {
        block_->set(spectrum::autoGain, autoGain);
        block_->set(spectrum::levelCount, 1);
        for (float level : broken) {
            SCOPED_TRACE(testing::Message() << "auto-gain " << autoGain << ", level " << level);
            block_->set(spectrum::leftLevel, level);
            block_->set(spectrum::rightLevel, level);
            block_->set(spectrum::leftBands, 0, level);
            block_->set(spectrum::rightBands, 0, level);
            for (LONG source : {LONG{SourceVolume}, LONG{SourceLeft}, LONG{SourceRight}, LONG{SourceFirstBand}}) {
                EXPECT_EQ(SoundLevel(source), 0.0f) << source;
                const float value = Follow(source, 10, 20);
                EXPECT_GE(value, 10.0f);
                EXPECT_LE(value, 20.0f);
            }
        }
        // Silence has not spoilt the running extremes: a real level still reads.
        block_->set(spectrum::leftLevel, 0.5f);
        EXPECT_GT(SoundLevel(SourceLeft), 0.0f);
        EXPECT_LE(SoundLevel(SourceLeft), 1.0f);
    }
    // A zero full scale (an analyser that has not started) reads as silence.
    block_->set(spectrum::autoGain, 0);
    block_->set(spectrum::levelScale, 0.0f);
    EXPECT_EQ(SoundLevel(SourceLeft), 0.0f);
    block_->set(spectrum::autoGain, 1);
    block_->set(spectrum::levelCount, 0);
    EXPECT_EQ(SoundLevel(SourceLeft), 0.0f);
}

TEST_F(SoundSourceTest, WithAutoGainLevelsNeverExceedOne) {
    block_->set(spectrum::autoGain, 1);
    block_->set(spectrum::levelCount, 4);
    for (float level : {0.5f, 3.0f, 100.0f, 0.001f, 7.0f, 1e30f}) {
        block_->set(spectrum::leftLevel, level);
        const float value = SoundLevel(SourceLeft);
        EXPECT_GE(value, 0.0f) << level;
        EXPECT_LE(value, 1.0f) << level;
    }
}

// Modules read live controls held to the control's limits, because a loud
// level without auto-gain maps beyond the range.
TEST_F(SoundSourceTest, LiveControlsStayWithinTheirLimits) {
    ModuleRecord r{};
    r.min[3] = 1;
    r.max[3] = 20;
    r.rangeLo[3] = 1;
    r.rangeHi[3] = 20;
    r.sense[3] = 10;
    r.phase[3] = 0.5f;
    block_->set(spectrum::leftLevel, 60.0f);  // thirty times full scale
    LONG value = -5;
    r.source[3] = SourceSet;
    ReadLiveControl(&r, 3, value);
    EXPECT_EQ(value, -5) << "a fixed source is not re-read";
    r.source[3] = SourceLeft;
    ReadLiveControl(&r, 3, value);
    EXPECT_EQ(value, 20);
    r.value[3] = 500;
    EXPECT_EQ(ControlValue(&r, 3), 20);
    EXPECT_EQ(ControlValue(&r, 3, -7), 1);
    EXPECT_EQ(ControlValue(&r, 3, 9), 9);
}

TEST_F(SoundSourceTest, LiveSourcesNeedARunningAnalyserAndTheirSwitch) {
    EXPECT_FALSE(IsLiveSource(SourceSet));
    EXPECT_FALSE(IsLiveSource(SourceRandom));
    EXPECT_TRUE(IsLiveSource(SourceOscillate));
    EXPECT_TRUE(IsLiveSource(SourceVolume));
    EXPECT_TRUE(IsLivePaletteSource(SourceLastBand));

    block_->set(spectrum::modulesFollowSound, 0);
    EXPECT_FALSE(IsLiveSource(SourceVolume));
    EXPECT_TRUE(IsLivePaletteSource(SourceVolume));
    EXPECT_TRUE(IsLiveSource(SourceOscillate));

    block_->set(spectrum::modulesFollowSound, 1);
    block_->set(spectrum::running, 0);
    EXPECT_FALSE(IsLiveSource(SourceRight));
    EXPECT_FALSE(IsLivePaletteSource(SourceRight));

    SharedSpectrum = nullptr;
    EXPECT_FALSE(IsLiveSource(SourceVolume));
    EXPECT_TRUE(IsLiveSource(SourceOscillate));
    EXPECT_EQ(SoundLevel(SourceVolume), 0.0f);
}

// The running extremes start with the program, so this runs in a fresh
// process of its own.
TEST(AutoGainDeathTest, TheFirstLevelOfEachKindReadsFullScale) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SpectrumBlock* block = OpenSpectrumBlock();
            SharedSpectrum = block;
            block->set(spectrum::autoGain, 1);
            block->set(spectrum::levelCount, 2);
            block->set(spectrum::leftLevel, 0.5f);
            block->set(spectrum::rightLevel, 0.25f);
            block->set(spectrum::leftBands, 4, 0.01f);
            block->set(spectrum::rightBands, 4, 0.01f);
            // Channels and bands keep extremes of their own.
            const float volume = SoundLevel(SourceVolume);
            const float band = SoundLevel(SourceFirstBand + 4);
            std::fprintf(stderr, "volume %.9g band %.9g\n", volume, band);
            std::_Exit(volume == 1.0f && band == 1.0f ? 0 : 1);
        },
        testing::ExitedWithCode(0), "volume 1 band 1");
}

}  // namespace
