#pragma once
// The operations of the custom palette page on the custom colours of the
// global palette record (CurrentPalette).  Each works in place on a run of
// selected entries, leaves the channels whose mask flag is set untouched,
// shows the result by animating the page's palette with the new colours and
// returns the palette it was given.  Without a palette record they do
// nothing.
//
// A selection is 236 flags (non-zero: selected); the page keeps the selected
// entries contiguous.
#include "saver/palette/palette_settings.h"

// The index of the first (last) selected entry, or -1 when none is.
int FirstSelected(const DWORD* selection);
int LastSelected(const DWORD* selection);

// The page's palette: 236 PC_RESERVED entries with the custom colours; null
// without a palette record or when it cannot be made.
HPALETTE CreateCustomPalette();

// Every selected channel c becomes 255 - c.
HPALETTE NegateColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// (left + 3 x self + right) / 5 over entries 1..234, left to right in place;
// the two ends never change.
HPALETTE SmoothColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// Adds rand() % 21 - 10 per channel over entries 1..234; a channel that
// would leave 0..255 keeps its value.
HPALETTE RoughenColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// Red takes green, green takes blue, blue takes red.
HPALETTE RotateChannels(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// A straight blend from the first to the last selected entry; nothing (no
// animation either) when they are fewer than two apart.
HPALETTE GradientColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// The run in reverse order; nothing when first and last are fewer than two
// apart.
HPALETTE ReverseColours(HPALETTE palette, const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
// A random walk from a random colour with the three steps, over the
// selected entries only.
HPALETTE RandomColours(HPALETTE palette, LONG redStep, LONG greenStep, LONG blueStep, DWORD maskRed,
                       DWORD maskGreen, DWORD maskBlue, const DWORD* selection);
// The backup's entries sourceFirst..sourceLast stretched or thinned onto the
// selection; Merge averages them with what is there.
HPALETTE CopyColoursTo(HPALETTE palette, const PALETTEENTRY* backup, int sourceFirst, int sourceLast,
                       const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
HPALETTE MergeColoursTo(HPALETTE palette, const PALETTEENTRY* backup, int sourceFirst, int sourceLast,
                        const DWORD* selection, DWORD maskRed, DWORD maskGreen, DWORD maskBlue);
HPALETTE SetColour(HPALETTE palette, int index, int red, int green, int blue, DWORD maskRed, DWORD maskGreen,
                   DWORD maskBlue);
// Entries first..last become the backup's times the factors, at most 255.
// A factor that is no number or infinite (a zero reference) gives 0.
HPALETTE ScaleColours(HPALETTE palette, int first, int last, float redFactor, float greenFactor, float blueFactor,
                      const PALETTEENTRY* backup);
HPALETTE GetColour(HPALETTE palette, int index, int* red, int* green, int* blue);
// The custom colours become the 236 entries of the table.
HPALETTE RestoreColours(HPALETTE palette, const PALETTEENTRY* table);
