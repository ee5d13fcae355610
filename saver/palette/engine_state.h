#pragma once
// State of the one palette engine that lives outside its record.
#include <memory>

#include "saver/palette/palette_settings.h"

namespace palette_engine {

struct EngineState {
    std::unique_ptr<LONG[]> waveTables[ChannelCount];
    HPALETTE palette = nullptr;   // the palette the engine animates
    HPALETTE previous = nullptr;  // what the device context had before
    LONG rampPrev[ChannelCount] = {};  // last sine sample of each channel's Ramp mask
    LONG quietTicks = 0;               // ticks since the last pattern start of any channel
};

extern EngineState Engine;

// A parameter's value for this channel: evaluated from its source when that
// is dynamic (oscillation or sound), otherwise as set.
LONG CurrentValue(PaletteSettings* settings, int parameter, int channel);

// The same, and a dynamic value is stored as the parameter's value.
LONG RefreshValue(PaletteSettings* settings, int parameter, int channel);

}  // namespace palette_engine
