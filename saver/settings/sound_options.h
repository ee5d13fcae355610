#pragma once
// The display options that live in the spectrum block ("SlowCPU" is `turbo`,
// "AutoGain" is `autoGain`) and the block fields a load writes.  Without an
// open block (a tool or test that never opened one) they are kept in a
// private block of the same layout, so a load and save still round-trip.
// Internal to the settings store.
#include "saver/sound/spectrum_block.h"

SpectrumBlock& SoundOptionsBlock();
