#pragma once
// Opening and closing the shared spectrum block.
#include "saver/sound/spectrum_block.h"

// Creates the named block or opens the existing one.  A block this call
// creates is zeroed and stamped with its size and layout version; an existing
// block must carry size 786 and layout 5, otherwise the name belongs to a
// block of another layout and the result is null.  Null on any failure.
// The analyser side (and its simulator) opens the block this way.
SpectrumBlock* AttachSpectrumBlock();

// AttachSpectrumBlock, then records the saver's version in the block.
SpectrumBlock* OpenSpectrumBlock();

// Unmaps the view and closes the mapping; accepts null.
void CloseSpectrumBlock(SpectrumBlock* block);
