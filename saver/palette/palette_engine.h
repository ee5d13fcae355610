#pragma once
// The palette engine: three colour channels, each generating a column of 236
// intensities from a wave table (or the custom colours), shaping it with its
// effect and then either cycling it along the palette or morphing it towards
// a new pattern.  The columns, scaled by each channel's Scale, animate the
// 236 entries of one logical palette, under everything the modules draw.
#include "saver/palette/palette_settings.h"

// Seeds the random generator, makes the wave tables, creates the record with
// its defaults, selects and realises the engine's (all black) palette in `dc`
// and walks a random set of custom colours.  The record becomes
// CurrentPalette.
PaletteSettings* CreatePaletteEngine(HDC dc);

// Frees the wave tables, puts the palette `dc` had before back, deletes the
// engine's palette and the record.  Returns 1.
BOOL DestroyPaletteEngine(PaletteSettings* settings);

// Every parameter's defaults, limits and permissions for all three channels;
// per channel a 15 s duration, an immediate next change and all flags and
// the event counter cleared.  Effects, custom colours, the column and the
// blend stay.
void ResetPaletteDefaults(PaletteSettings* settings);

// A first pattern on every channel, written straight into the column.
void RestartAllChannels(PaletteSettings* settings);

// A new pattern on one channel: configure it, schedule its next change, fill
// its wave table and generate the whole column.
void RestartChannel(PaletteSettings* settings, int channel);

// Draws the channel's random parameters, evaluates its dynamic ones and sets
// its effect flags for the next pattern.
void ConfigureChannel(PaletteSettings* settings, int channel);

// Generates entry `index` of the channel's column from the next position of
// its wave.
void GenerateEntry(PaletteSettings* settings, int channel, int index);

// One step of the animation: starts due pattern changes, morphs or cycles
// each channel, and animates the palette.  Holds CurrentPaletteLock while it
// works on the record, not while it animates.
void PaletteTick(PaletteSettings* settings);

// Counts ticks per channel and, every Event + 2 ticks, reverses the
// channel's direction or jumps to a random point of its wave.
void PaletteRandomEvents(PaletteSettings* settings);

// Every channel changes its pattern within 500 ms.
void DelayPatternChange(PaletteSettings* settings);
