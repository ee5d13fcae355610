#pragma once
// Sound levels read from the spectrum block for the sound sources.
#include "platform/win32.h"

// The level of source 3 (volume), 4 (left), 5 (right) or 6..21 (bands), about
// 0..1.  With the block's auto-gain set the level is divided by the spread of
// the running extremes seen so far for its kind (channels or bands) and never
// exceeds 1.  Without auto-gain it is divided by the analyser's full-scale
// value and not clamped above.  Whatever the block holds, the result is
// finite and not negative: NaN, infinite and negative levels (and a zero
// scale) count as silence, so they never enter the running extremes.  0 for
// any other code and while no block is open.
float SoundLevel(LONG source);
