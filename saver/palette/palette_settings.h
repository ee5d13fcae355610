#pragma once
// The palette engine's record: the colour settings saved with a display and
// the running state of the three colour generators.
#include "platform/win32.h"

constexpr int ChannelCount = 3;  // red, green, blue
constexpr int PaletteEntryCount = 236;
constexpr int PaletteParameterCount = 10;
constexpr int WaveTableSize = 2048;

enum PaletteChannel : int { ChannelRed = 0, ChannelGreen = 1, ChannelBlue = 2 };

enum PaletteParameter : int {
    ParamScale = 0,       // "Brightness": percent applied when the palette is built
    ParamDensity = 1,     // "Color Frequency": wave steps per palette entry
    ParamFadeFactor = 2,  // "Fade Frequency": sine steps per entry of the Fade mask
    ParamRampDecay = 3,   // "Ramp Frequency": sine steps per entry of the Ramp mask
    ParamSeconds = 4,     // "Duration": seconds a pattern lasts before the next morph
    ParamCycleRate = 5,   // "Cycle Rate": milliseconds between ticks (red channel's)
    ParamEvent = 6,       // "Event Rate": ticks between random events; 3000 = never
    ParamDirection = 7,   // "Direction": entries the column moves per tick
    ParamMorphRate = 8,   // "Morph Rate": blend added per tick while morphing
    ParamIntensity = 9,   // "Intensity": percent applied to each generated value
};

// An Event value of 3000 stands for "never" and becomes this at a pattern start.
constexpr LONG EventNever = 3000;
constexpr LONG EventNeverTicks = 16777215;

enum ChannelEffect : LONG {
    EffectRamp = 0,
    EffectFade = 1,
    EffectSmooth = 2,
    EffectCoarse = 3,
    EffectBlackout = 4,
    EffectRandom = 5,
    EffectCustom = 6,
};

struct PaletteParameterInfo {
    const char* stem;     // registry name stem: "Red" + stem, "RedScaleRangeLo", ...
    const char* caption;  // label on the Palette page
    LONG limitMin;
    LONG limitMax;
    LONG dynamicAllowed;  // may take oscillation and sound
    LONG defaultSource;
    LONG defaultValue;
    LONG defaultRangeLo;
    LONG defaultRangeHi;
};

extern const PaletteParameterInfo PaletteParameters[PaletteParameterCount];
extern const char* const ChannelEffectNames[7];

// The logical palette the engine animates, laid out as LOGPALETTE with 236
// entries, every entry flagged PC_RESERVED.
struct PaletteBlock {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[PaletteEntryCount];
};

struct PaletteSettings {
    PaletteBlock* block;  // owned by the record

    BYTE current[ChannelCount][PaletteEntryCount];  // the channel values shown, before Scale
    BYTE from[ChannelCount][PaletteEntryCount];     // where a morph started
    BYTE to[ChannelCount][PaletteEntryCount];       // where a morph goes

    LONG counter[ChannelCount];       // values generated since the pattern started
    LONG densityInUse[ChannelCount];  // the Density the wave index uses
    LONG offset[ChannelCount];        // random start of the pattern, 0..235

    LONG limitMin[PaletteParameterCount];
    LONG limitMax[PaletteParameterCount];
    LONG dynamicAllowed[PaletteParameterCount];

    // Per parameter and channel, like a control slot's source fields.
    LONG source[PaletteParameterCount][ChannelCount];
    LONG value[PaletteParameterCount][ChannelCount];
    LONG rangeLo[PaletteParameterCount][ChannelCount];
    LONG rangeHi[PaletteParameterCount][ChannelCount];
    LONG sense[PaletteParameterCount][ChannelCount];
    float phase[PaletteParameterCount][ChannelCount];

    LONG effect[ChannelCount];  // ChannelEffect
    LONG allEffect;

    LONG fade[ChannelCount];
    LONG ramp[ChannelCount];
    LONG coarse[ChannelCount];
    LONG blackout[ChannelCount];
    LONG blend[ChannelCount];  // morph position, 0..255 and one step beyond
    LONG blendStep[ChannelCount];
    LONG eventCounter[ChannelCount];
    LONG useCustom[ChannelCount];
    LONG morphing[ChannelCount];
    LONG durationMs[ChannelCount];
    DWORD nextChange[ChannelCount];  // tick count of the next pattern change

    LONG active;  // while 0 a tick stops after its pattern-change check
    HDC dc;       // the device context the palette is selected into

    PALETTEENTRY customColours[PaletteEntryCount];  // flags always 1
};
