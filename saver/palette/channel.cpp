#include <cstdint>
#include <cstdlib>

#include "saver/framework/sine_table.h"
#include "saver/framework/sources.h"
#include "saver/palette/engine_state.h"
#include "saver/palette/palette_engine.h"
#include "saver/palette/waves.h"

using palette_engine::Engine;
using palette_engine::RefreshValue;

namespace {

// (a x b + c) mod m as the 32-bit arithmetic of the settings gives it, made
// non-negative.  Settings inside their limits never need either adjustment;
// out-of-limit ones (a negative Density, say, or a counter that ran for
// weeks) must still index inside the tables.
int WrapIndex(LONG a, LONG b, LONG c, int m) {
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b) +
                                                   static_cast<std::uint32_t>(c));
    const int r = wrapped % m;
    return r < 0 ? r + m : r;
}

// The value scaled by `factor` / `divisor` without overflowing, truncated.
LONG Scaled(LONG value, LONG factor, LONG divisor) {
    return static_cast<LONG>(static_cast<std::int64_t>(value) * factor / divisor);
}

BYTE BaseValue(const PaletteSettings* s, int ch) {
    const LONG counter = s->counter[ch];
    if (s->useCustom[ch]) {
        const PALETTEENTRY& colour = s->customColours[WrapIndex(counter, 1, 0, PaletteEntryCount)];
        return ch == ChannelRed ? colour.peRed : ch == ChannelGreen ? colour.peGreen : colour.peBlue;
    }
    const LONG* table = Engine.waveTables[ch].get();
    if (table == nullptr) {
        return 0;
    }
    const LONG sample = table[WrapIndex(counter, s->densityInUse[ch], s->offset[ch], WaveTableSize)];
    return static_cast<BYTE>((sample < 0 ? -sample : sample) >> 6);
}

}  // namespace

void RestartAllChannels(PaletteSettings* settings) {
    for (int ch = 0; ch < ChannelCount; ++ch) {
        RestartChannel(settings, ch);
    }
}

void ConfigureChannel(PaletteSettings* settings, int ch) {
    PaletteSettings& s = *settings;
    for (int p = 0; p < PaletteParameterCount; ++p) {
        if (s.source[p][ch] == SourceRandom) {
            const LONG lo = s.rangeLo[p][ch] < s.rangeHi[p][ch] ? s.rangeLo[p][ch] : s.rangeHi[p][ch];
            const std::int64_t span = std::llabs(static_cast<std::int64_t>(s.rangeHi[p][ch]) - s.rangeLo[p][ch]);
            s.value[p][ch] = static_cast<LONG>(lo + std::rand() % (span + 1));
        }
    }
    for (int p = 0; p < PaletteParameterCount; ++p) {
        RefreshValue(settings, p, ch);
    }

    s.durationMs[ch] = static_cast<LONG>(static_cast<std::uint32_t>(s.value[ParamSeconds][ch]) * 1000u);
    s.ramp[ch] = 0;
    s.fade[ch] = 0;
    s.blackout[ch] = 0;
    s.coarse[ch] = std::rand() % 2;
    switch (s.effect[ch]) {
        case EffectRamp: s.ramp[ch] = 1; break;
        case EffectFade: s.fade[ch] = 1; break;
        case EffectSmooth: s.coarse[ch] = 0; break;
        case EffectCoarse: s.coarse[ch] = 1; break;
        case EffectBlackout: s.blackout[ch] = 1; break;
        case EffectCustom: s.useCustom[ch] = 1; break;
        default:
            s.ramp[ch] = std::rand() % 6 == 1 ? 1 : 0;
            if (!s.ramp[ch]) {
                s.fade[ch] = std::rand() % 6 == 1 ? 1 : 0;
            }
            break;
    }
    if (s.value[ParamEvent][ch] == EventNever) {
        s.value[ParamEvent][ch] = EventNeverTicks;
    }
}

void RestartChannel(PaletteSettings* settings, int ch) {
    if (settings == nullptr || ch < 0 || ch >= ChannelCount) {
        return;
    }
    PaletteSettings& s = *settings;
    ConfigureChannel(settings, ch);
    s.nextChange[ch] = GetTickCount() + static_cast<DWORD>(s.durationMs[ch]);
    if (LONG* table = Engine.waveTables[ch].get()) {
        if (std::rand() & 1) {
            FillSineWave(table);
        } else {
            FillTriangleWave(table, TrianglePeriodStep);
        }
        if (s.coarse[ch]) {
            RoughenWave(table);
        }
    }
    s.densityInUse[ch] = s.value[ParamDensity][ch];
    s.offset[ch] = std::rand() % PaletteEntryCount;
    s.counter[ch] = 0;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        GenerateEntry(settings, ch, i);
    }
}

void GenerateEntry(PaletteSettings* settings, int ch, int index) {
    PaletteSettings& s = *settings;
    if (s.blackout[ch]) {
        s.current[ch][index] = 0;
        return;
    }
    const BYTE base = BaseValue(settings, ch);

    LONG e = Scaled(base, RefreshValue(settings, ParamIntensity, ch), 100);
    if (e >= 256) {
        e = 255;
    }
    s.densityInUse[ch] = RefreshValue(settings, ParamDensity, ch);

    if (s.fade[ch]) {
        const LONG factor = RefreshValue(settings, ParamFadeFactor, ch);
        const LONG sample = SineTable[WrapIndex(s.counter[ch], factor, 0, SineTableSize)];
        e = sample == 0 ? 0 : Scaled(e, sample < 0 ? -sample : sample, 16383);
    } else if (s.ramp[ch]) {
        const LONG decay = RefreshValue(settings, ParamRampDecay, ch);
        const LONG sample = SineTable[WrapIndex(s.counter[ch], decay, 0, SineTableSize)];
        e = Engine.rampPrev[ch] > sample && sample > 0 ? Scaled(e, sample, 16383) : 0;
        Engine.rampPrev[ch] = sample;
    }

    s.current[ch][index] = static_cast<BYTE>(e);
    s.counter[ch] = static_cast<LONG>(static_cast<std::uint32_t>(s.counter[ch]) + 1u);
}
