#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "saver/framework/module_record.h"
#include "saver/palette/engine_state.h"
#include "saver/palette/palette_engine.h"

using palette_engine::CurrentValue;
using palette_engine::Engine;
using palette_engine::RefreshValue;

namespace {

void StartPatternChange(PaletteSettings& s, int ch) {
    std::memcpy(s.from[ch], s.current[ch], PaletteEntryCount);
    RestartChannel(&s, ch);
    std::memcpy(s.to[ch], s.current[ch], PaletteEntryCount);
    s.morphing[ch] = 1;
    s.blend[ch] = 0;
    s.blendStep[ch] = CurrentValue(&s, ParamMorphRate, ch);
    Engine.quietTicks = 0;
    s.active = 1;
}

void Morph(PaletteSettings& s, int ch) {
    const LONG blend = s.blend[ch];
    for (int i = 0; i < PaletteEntryCount; ++i) {
        s.current[ch][i] = static_cast<BYTE>((s.from[ch][i] * (255 - blend) + s.to[ch][i] * blend) >> 8);
    }
    // A Morph Rate below 1 (outside its limits) would never finish the morph
    // and freeze the channel; it advances by 1 instead.
    const LONG step = s.blendStep[ch] < 1 ? 1 : s.blendStep[ch];
    s.blend[ch] = blend + step;
    if (s.blend[ch] > 255) {
        s.morphing[ch] = 0;
    }
}

void Cycle(PaletteSettings& s, int ch) {
    LONG d = RefreshValue(&s, ParamDirection, ch);
    // A shift of more than the column (a Direction outside its limits)
    // regenerates the whole column, as a shift of exactly 236 does.
    if (d > PaletteEntryCount) {
        d = PaletteEntryCount;
    } else if (d < -PaletteEntryCount) {
        d = -PaletteEntryCount;
    }
    BYTE* column = s.current[ch];
    if (d > 0) {
        std::memmove(column, column + d, PaletteEntryCount - d);
        for (int i = PaletteEntryCount - d; i < PaletteEntryCount; ++i) {
            GenerateEntry(&s, ch, i);
        }
    } else if (d < 0) {
        const int shift = -d;
        std::memmove(column + shift, column, PaletteEntryCount - shift);
        for (int i = shift - 1; i >= 0; --i) {
            GenerateEntry(&s, ch, i);
        }
    }
}

BYTE ScaledComponent(BYTE value, LONG scale) {
    return static_cast<BYTE>(static_cast<std::int64_t>(value) * scale / 100);
}

}  // namespace

void PaletteTick(PaletteSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    PaletteSettings& s = *settings;
    {
        // AnimatePalette can park this thread (a pause, an abandoned run), so
        // the record is let go before it.
        std::lock_guard lock(CurrentPaletteLock);
        const DWORD now = GetTickCount();
        for (int ch = 0; ch < ChannelCount; ++ch) {
            if (now > s.nextChange[ch] && !s.morphing[ch]) {
                StartPatternChange(s, ch);
            }
        }
        if (!s.active) {
            return;
        }
        if (Engine.quietTicks > PaletteEntryCount) {
            s.active = GetDeviceCaps(s.dc, RASTERCAPS) & RC_PALETTE;
        } else {
            Engine.quietTicks += 1;
        }

        for (int ch = 0; ch < ChannelCount; ++ch) {
            if (s.morphing[ch]) {
                Morph(s, ch);
            } else {
                Cycle(s, ch);
            }
        }

        LONG scale[ChannelCount];
        for (int ch = 0; ch < ChannelCount; ++ch) {
            scale[ch] = CurrentValue(&s, ParamScale, ch);
        }
        PALETTEENTRY* entries = s.block->palPalEntry;
        for (int i = 0; i < PaletteEntryCount; ++i) {
            entries[i] = {ScaledComponent(s.current[ChannelRed][i], scale[ChannelRed]),
                          ScaledComponent(s.current[ChannelGreen][i], scale[ChannelGreen]),
                          ScaledComponent(s.current[ChannelBlue][i], scale[ChannelBlue]), PC_RESERVED};
        }
    }
    AnimatePalette(Engine.palette, 0, PaletteEntryCount, s.block->palPalEntry);
}

void PaletteRandomEvents(PaletteSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    PaletteSettings& s = *settings;
    for (int ch = 0; ch < ChannelCount; ++ch) {
        const LONG before = s.eventCounter[ch];
        s.eventCounter[ch] = static_cast<LONG>(static_cast<std::uint32_t>(before) + 1u);
        if (before <= s.value[ParamEvent][ch]) {
            continue;
        }
        s.eventCounter[ch] = 0;
        if (std::rand() % 2 == 0) {
            s.value[ParamDirection][ch] =
                static_cast<LONG>(0u - static_cast<std::uint32_t>(s.value[ParamDirection][ch]));
        } else {
            s.counter[ch] = std::rand() % WaveTableSize;
        }
    }
}
