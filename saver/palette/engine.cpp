#include <cstdlib>

#include "saver/framework/module_record.h"
#include "saver/framework/sources.h"
#include "saver/palette/engine_state.h"
#include "saver/palette/palette_engine.h"
#include "saver/palette/waves.h"

namespace palette_engine {

EngineState Engine;

LONG CurrentValue(PaletteSettings* settings, int parameter, int channel) {
    if (settings->source[parameter][channel] < SourceOscillate) {
        return settings->value[parameter][channel];
    }
    return TruncateToLong(EvaluateSource(settings->source[parameter][channel], settings->phase[parameter][channel],
                                         settings->sense[parameter][channel], settings->rangeLo[parameter][channel],
                                         settings->rangeHi[parameter][channel]));
}

LONG RefreshValue(PaletteSettings* settings, int parameter, int channel) {
    if (settings->source[parameter][channel] >= SourceOscillate) {
        settings->value[parameter][channel] = CurrentValue(settings, parameter, channel);
    }
    return settings->value[parameter][channel];
}

}  // namespace palette_engine

using palette_engine::Engine;

PaletteSettings* CreatePaletteEngine(HDC dc) {
    std::srand(GetTickCount());
    for (auto& table : Engine.waveTables) {
        if (!table) {
            table = std::make_unique<LONG[]>(WaveTableSize);
        }
    }

    auto* settings = new PaletteSettings{};
    settings->block = new PaletteBlock{};
    settings->block->palVersion = 0x300;
    settings->block->palNumEntries = PaletteEntryCount;
    for (PALETTEENTRY& entry : settings->block->palPalEntry) {
        entry.peFlags = PC_RESERVED;
    }
    settings->active = 1;
    settings->dc = dc;
    ResetPaletteDefaults(settings);

    // PaletteBlock is LOGPALETTE with all its entries spelled out.
    Engine.palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(settings->block));
    Engine.previous = SelectPalette(dc, Engine.palette, FALSE);
    RealizePalette(dc);

    // Drawn one after the other: the order of the three steps is part of the
    // colours a seed gives.
    const LONG redStep = std::rand() % 10;
    const LONG greenStep = std::rand() % 10;
    const LONG blueStep = std::rand() % 10;
    RandomWalkPalette(settings->customColours, redStep, greenStep, blueStep);

    CurrentPalette = settings;
    return settings;
}

BOOL DestroyPaletteEngine(PaletteSettings* settings) {
    for (auto& table : Engine.waveTables) {
        table.reset();
    }
    if (settings != nullptr) {
        if (Engine.previous != nullptr) {
            UnrealizeObject(Engine.previous);
            SelectPalette(settings->dc, Engine.previous, FALSE);
            RealizePalette(settings->dc);
        }
        if (CurrentPalette == settings) {
            CurrentPalette = nullptr;
        }
        delete settings->block;
        delete settings;
    }
    if (Engine.palette != nullptr) {
        DeleteObject(Engine.palette);
    }
    Engine.palette = nullptr;
    Engine.previous = nullptr;
    return 1;
}

void ResetPaletteDefaults(PaletteSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    for (int p = 0; p < PaletteParameterCount; ++p) {
        const PaletteParameterInfo& info = PaletteParameters[p];
        settings->limitMin[p] = info.limitMin;
        settings->limitMax[p] = info.limitMax;
        settings->dynamicAllowed[p] = info.dynamicAllowed;
        for (int ch = 0; ch < ChannelCount; ++ch) {
            settings->source[p][ch] = info.defaultSource;
            settings->value[p][ch] = info.defaultValue;
            settings->rangeLo[p][ch] = info.defaultRangeLo;
            settings->rangeHi[p][ch] = info.defaultRangeHi;
            settings->sense[p][ch] = 7;
            settings->phase[p][ch] = 0.5f;
        }
    }
    for (int ch = 0; ch < ChannelCount; ++ch) {
        settings->durationMs[ch] = 15000;
        settings->nextChange[ch] = 0;
        settings->fade[ch] = 0;
        settings->ramp[ch] = 0;
        settings->coarse[ch] = 0;
        settings->blackout[ch] = 0;
        settings->useCustom[ch] = 0;
        settings->morphing[ch] = 0;
        settings->eventCounter[ch] = 0;
    }
}

void DelayPatternChange(PaletteSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    const DWORD due = GetTickCount() + 500;
    for (DWORD& next : settings->nextChange) {
        next = due;
    }
}
