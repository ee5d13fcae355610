// The palette engine on a real (offscreen) window: generated columns, the
// tick's cycling and morphing, events and the animated palette itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/kernel/clock.h"
#include "reference.h"
#include "saver/framework/module_record.h"
#include "saver/framework/sine_table.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_engine.h"

namespace {

constexpr DWORD Start = 100000;

class PaletteEngineTest : public testing::Test {
protected:
    void SetUp() override {
        platform::UseTestClock(Start);
        presenter_ = std::make_shared<gdi::OffscreenPresenter>();
        window_ = platform::CreateOffscreenWindow(16, 16, presenter_);
        ASSERT_NE(window_, nullptr);
        dc_ = GetDC(window_);
        ASSERT_NE(dc_, nullptr);
        s_ = CreatePaletteEngine(dc_);
        ASSERT_NE(s_, nullptr);
        // Fixed values everywhere, so that only the documented draws remain.
        for (int ch = 0; ch < ChannelCount; ++ch) {
            s_->source[ParamDensity][ch] = SourceSet;
            s_->source[ParamMorphRate][ch] = SourceSet;
            s_->effect[ch] = EffectSmooth;
        }
    }
    void TearDown() override {
        EXPECT_EQ(DestroyPaletteEngine(s_), 1);
        EXPECT_EQ(CurrentPalette, nullptr);
        ReleaseDC(window_, dc_);
        platform::DestroyOffscreenWindow(window_);
        platform::UseRealClock();
    }

    void SetAll(PaletteParameter p, LONG value) {
        for (int ch = 0; ch < ChannelCount; ++ch) {
            s_->value[p][ch] = value;
        }
    }
    std::vector<BYTE> Column(int ch) const { return {s_->current[ch], s_->current[ch] + PaletteEntryCount}; }

    std::shared_ptr<gdi::OffscreenPresenter> presenter_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    PaletteSettings* s_ = nullptr;
};

TEST_F(PaletteEngineTest, StartsWithAnActiveBlackPaletteAndCustomColours) {
    EXPECT_EQ(CurrentPalette, s_);
    EXPECT_EQ(s_->block->palVersion, 0x300);
    EXPECT_EQ(s_->block->palNumEntries, 236);
    EXPECT_EQ(s_->active, 1);
    int lit = 0;
    for (int i = 0; i < 236; ++i) {
        const PALETTEENTRY& e = s_->block->palPalEntry[i];
        EXPECT_EQ(e.peFlags, PC_RESERVED);
        EXPECT_EQ(e.peRed | e.peGreen | e.peBlue, 0);
        EXPECT_EQ(s_->customColours[i].peFlags, 1);
        lit += s_->customColours[i].peRed | s_->customColours[i].peGreen | s_->customColours[i].peBlue ? 1 : 0;
    }
    EXPECT_GT(lit, 0);
}

// Seed 1 draws, per channel: coarseness (cleared by Smooth), sine when odd
// or triangle when even, and the offset.  Density 6, Intensity 100.
TEST_F(PaletteEngineTest, ATickReproducesAHandComputedColumn) {
    s_->value[ParamScale][ChannelGreen] = 50;
    s_->value[ParamScale][ChannelBlue] = 0;
    std::srand(1);
    RestartAllChannels(s_);

    // What entry `counter` of each channel's wave must hold.
    ReferenceRandom draws(1);
    struct Pattern {
        bool sine;
        int offset;
    } patterns[ChannelCount];
    for (Pattern& p : patterns) {
        draws.next();  // coarseness
        p.sine = draws.next() & 1;
        p.offset = draws.next() % 236;
    }
    auto expected = [&](int ch, int counter) {
        const int k = (counter * 6 + patterns[ch].offset) % 2048;
        const LONG sample = patterns[ch].sine ? SineTable[k] : ReferenceTriangle(k);
        return static_cast<BYTE>(std::abs(sample) >> 6);
    };
    for (int ch = 0; ch < ChannelCount; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(s_->offset[ch], patterns[ch].offset);
        EXPECT_EQ(s_->counter[ch], 236);
        EXPECT_EQ(s_->coarse[ch], 0);
        for (int i = 0; i < 236; ++i) {
            ASSERT_EQ(s_->current[ch][i], expected(ch, i)) << "entry " << i;
        }
    }

    PaletteTick(s_);
    // Direction 1: everything moves down one entry, and entry 235 is the next
    // value of the wave.
    for (int ch = 0; ch < ChannelCount; ++ch) {
        SCOPED_TRACE(ch);
        for (int i = 0; i < 236; ++i) {
            ASSERT_EQ(s_->current[ch][i], expected(ch, i + 1)) << "entry " << i << " after the tick";
        }
    }
    // The palette is the columns scaled by each channel's Scale.
    for (int i = 0; i < 236; ++i) {
        const PALETTEENTRY& e = s_->block->palPalEntry[i];
        EXPECT_EQ(e.peRed, s_->current[ChannelRed][i]);
        EXPECT_EQ(e.peGreen, s_->current[ChannelGreen][i] * 50 / 100);
        EXPECT_EQ(e.peBlue, 0);
        EXPECT_EQ(e.peFlags, PC_RESERVED);
    }
}

TEST_F(PaletteEngineTest, BlackoutKeepsTheChannelDarkAndItsWaveStill) {
    s_->effect[ChannelGreen] = EffectBlackout;
    RestartAllChannels(s_);
    for (int n = 0; n < 5; ++n) {
        PaletteTick(s_);
    }
    EXPECT_EQ(Column(ChannelGreen), std::vector<BYTE>(236, 0));
    EXPECT_EQ(s_->counter[ChannelGreen], 0);
    EXPECT_EQ(s_->counter[ChannelRed], 241);
}

TEST_F(PaletteEngineTest, DirectionZeroHoldsTheColumn) {
    SetAll(ParamDirection, 0);
    RestartAllChannels(s_);
    const std::vector<BYTE> before = Column(ChannelBlue);
    for (int n = 0; n < 10; ++n) {
        PaletteTick(s_);
    }
    EXPECT_EQ(Column(ChannelBlue), before);
    EXPECT_EQ(s_->counter[ChannelBlue], 236);
}

TEST_F(PaletteEngineTest, NegativeDirectionGeneratesAtTheTopOfTheColumn) {
    SetAll(ParamDirection, -3);
    RestartAllChannels(s_);
    const std::vector<BYTE> before = Column(ChannelRed);
    PaletteTick(s_);
    const std::vector<BYTE> after = Column(ChannelRed);
    EXPECT_TRUE(std::equal(before.begin(), before.end() - 3, after.begin() + 3));
    EXPECT_EQ(s_->counter[ChannelRed], 239);
}

TEST_F(PaletteEngineTest, IntensitySaturatesAt255) {
    SetAll(ParamIntensity, 100);
    std::srand(4);
    RestartAllChannels(s_);
    const std::vector<BYTE> plain = Column(ChannelRed);
    SetAll(ParamIntensity, 200);
    std::srand(4);
    RestartAllChannels(s_);
    int saturated = 0;
    for (int i = 0; i < 236; ++i) {
        const int doubled = plain[i] * 2;
        EXPECT_EQ(s_->current[ChannelRed][i], doubled >= 256 ? 255 : doubled) << i;
        saturated += doubled >= 256 ? 1 : 0;
    }
    EXPECT_GT(saturated, 0);
}

TEST_F(PaletteEngineTest, AMorphTakesAsManyTicksAsTheMorphRateFitsInto256) {
    for (LONG rate : {64, 9}) {
        SCOPED_TRACE(rate);
        SetAll(ParamMorphRate, rate);
        RestartAllChannels(s_);
        platform::AdvanceTestClock(16001);  // past the 16 s pattern
        const int ticks = (256 + rate - 1) / rate;
        for (int n = 1; n < ticks; ++n) {
            PaletteTick(s_);
            ASSERT_EQ(s_->morphing[ChannelRed], 1) << "tick " << n;
        }
        PaletteTick(s_);
        EXPECT_EQ(s_->morphing[ChannelRed], 0);
        EXPECT_EQ(s_->morphing[ChannelBlue], 0);
    }
}

TEST_F(PaletteEngineTest, AMorphBlendsFromTheOldPatternToTheNew) {
    SetAll(ParamMorphRate, 64);
    RestartAllChannels(s_);
    platform::AdvanceTestClock(16001);
    PaletteTick(s_);  // blend 0
    for (int i = 0; i < 236; ++i) {
        ASSERT_EQ(s_->current[ChannelRed][i], s_->from[ChannelRed][i] * 255 >> 8);
    }
    PaletteTick(s_);  // blend 64
    for (int i = 0; i < 236; ++i) {
        ASSERT_EQ(s_->current[ChannelRed][i], (s_->from[ChannelRed][i] * 191 + s_->to[ChannelRed][i] * 64) >> 8);
    }
    // No new pattern starts while a channel is still morphing.
    platform::AdvanceTestClock(60000);
    const std::vector<BYTE> target(s_->to[ChannelRed], s_->to[ChannelRed] + 236);
    PaletteTick(s_);
    EXPECT_EQ(std::vector<BYTE>(s_->to[ChannelRed], s_->to[ChannelRed] + 236), target);
}

TEST_F(PaletteEngineTest, DelayedPatternChangesComeHalfASecondLater) {
    RestartAllChannels(s_);
    DelayPatternChange(s_);
    platform::AdvanceTestClock(500);
    PaletteTick(s_);
    EXPECT_EQ(s_->morphing[ChannelGreen], 0);
    platform::AdvanceTestClock(1);
    PaletteTick(s_);
    EXPECT_EQ(s_->morphing[ChannelRed], 1);
    EXPECT_EQ(s_->morphing[ChannelGreen], 1);
    EXPECT_EQ(s_->morphing[ChannelBlue], 1);
}

TEST_F(PaletteEngineTest, EventRate3000MeansNever) {
    s_->value[ParamEvent][ChannelRed] = 3000;
    RestartAllChannels(s_);
    EXPECT_EQ(s_->value[ParamEvent][ChannelRed], 16777215);
    EXPECT_EQ(s_->value[ParamEvent][ChannelGreen], 1000);
}

TEST_F(PaletteEngineTest, EventsComeEveryEventPlusTwoTicks) {
    SetAll(ParamEvent, 0);
    RestartAllChannels(s_);
    std::srand(5);
    ReferenceRandom draws(5);
    for (int n = 0; n < 6; ++n) {
        const LONG direction = s_->value[ParamDirection][ChannelRed];
        const LONG counter = s_->counter[ChannelRed];
        PaletteRandomEvents(s_);
        if (n % 2 == 0) {
            EXPECT_EQ(s_->value[ParamDirection][ChannelRed], direction);
            EXPECT_EQ(s_->counter[ChannelRed], counter);
            EXPECT_EQ(s_->eventCounter[ChannelRed], 1);
            continue;
        }
        EXPECT_EQ(s_->eventCounter[ChannelRed], 0);
        // Red draws first; green and blue follow with their own draws.
        if (draws.next() % 2 == 0) {
            EXPECT_EQ(s_->value[ParamDirection][ChannelRed], -direction);
        } else {
            EXPECT_EQ(s_->counter[ChannelRed], draws.next() % 2048);
        }
        for (int ch = ChannelGreen; ch <= ChannelBlue; ++ch) {
            if (draws.next() % 2 != 0) {
                draws.next();
            }
        }
    }
}

TEST_F(PaletteEngineTest, CustomColoursWalkThroughTheColumnAndWrap) {
    SetAll(ParamDirection, 1);
    for (int ch = 0; ch < ChannelCount; ++ch) {
        s_->effect[ch] = EffectCustom;
    }
    RestartAllChannels(s_);
    for (int i = 0; i < 236; ++i) {
        ASSERT_EQ(s_->current[ChannelRed][i], s_->customColours[i].peRed);
        ASSERT_EQ(s_->current[ChannelBlue][i], s_->customColours[i].peBlue);
    }
    PaletteTick(s_);
    EXPECT_EQ(s_->current[ChannelGreen][0], s_->customColours[1].peGreen);
    EXPECT_EQ(s_->current[ChannelGreen][235], s_->customColours[0].peGreen);
}

TEST_F(PaletteEngineTest, ScaleZeroRemovesAChannelWhileItKeepsRunning) {
    s_->value[ParamScale][ChannelRed] = 0;
    RestartAllChannels(s_);
    for (int n = 0; n < 3; ++n) {
        PaletteTick(s_);
    }
    for (const PALETTEENTRY& e : s_->block->palPalEntry) {
        ASSERT_EQ(e.peRed, 0);
    }
    EXPECT_EQ(s_->counter[ChannelRed], 239);
}

TEST_F(PaletteEngineTest, OscillatingParametersAreEvaluatedEveryTick) {
    for (int p = 0; p < PaletteParameterCount; ++p) {
        for (int ch = 0; ch < ChannelCount; ++ch) {
            s_->source[p][ch] = SourceOscillate;
        }
    }
    RestartAllChannels(s_);
    const float phase = s_->phase[ParamDirection][ChannelRed];
    PaletteTick(s_);
    EXPECT_NE(s_->phase[ParamDirection][ChannelRed], phase);
    const LONG d = s_->value[ParamDirection][ChannelRed];
    EXPECT_GE(d, -3);
    EXPECT_LE(d, 3);
}

// Settings outside their limits (hand-edited registry values) must not take
// the engine outside its tables; the sanitizer builds check the accesses.
TEST_F(PaletteEngineTest, OutOfLimitSettingsStayInsideTheTables) {
    const LONG direction[ChannelCount] = {1000, -1000, 237};
    for (int ch = 0; ch < ChannelCount; ++ch) {
        s_->value[ParamDensity][ch] = -7;
        s_->value[ParamFadeFactor][ch] = -3;
        s_->value[ParamRampDecay][ch] = INT32_MIN;
        s_->value[ParamDirection][ch] = direction[ch];
        s_->value[ParamMorphRate][ch] = 0;
        s_->value[ParamScale][ch] = 1000000000;
        s_->value[ParamIntensity][ch] = -50;
        s_->value[ParamSeconds][ch] = 5000000;
    }
    s_->effect[ChannelRed] = EffectFade;
    s_->effect[ChannelGreen] = EffectRamp;
    s_->effect[ChannelBlue] = 99;  // unknown: behaves as Random
    RestartAllChannels(s_);
    for (int n = 0; n < 10; ++n) {
        PaletteTick(s_);
        PaletteRandomEvents(s_);
    }
    EXPECT_EQ(s_->counter[ChannelRed], 236 * 11);
    // A Morph Rate of 0 still ends its morph.
    DelayPatternChange(s_);
    platform::AdvanceTestClock(501);
    int ticks = 0;
    do {
        PaletteTick(s_);
    } while (s_->morphing[ChannelRed] && ++ticks < 1000);
    EXPECT_EQ(ticks, 255);
}

TEST_F(PaletteEngineTest, ThePaletteOnScreenFollowsTheTicks) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(5));
    const RECT all{0, 0, 16, 16};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    RestartAllChannels(s_);

    PaletteTick(s_);
    const PALETTEENTRY& e = s_->block->palPalEntry[5];
    const COLORREF first = GetPixel(dc_, 3, 3);
    EXPECT_EQ(first, RGB(e.peRed, e.peGreen, e.peBlue));
    bool changed = false;
    for (int n = 0; n < 20 && !changed; ++n) {
        PaletteTick(s_);
        changed = GetPixel(dc_, 3, 3) != first;
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(GetPixel(dc_, 3, 3), RGB(e.peRed, e.peGreen, e.peBlue));
}

}  // namespace
