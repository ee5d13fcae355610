#pragma once
// Deciding, after a display is loaded, whether its sound sources can be
// served, and turning them into oscillation when they cannot.
#include "platform/win32.h"

// Nonzero while the process is the settings program, which keeps every source
// as saved so that the user sees and saves what the display holds.
extern DWORD ConfigProgramRunning;

// Clears the block's palette-uses-sound and modules-use-sound flags, then
// looks at every sound source (3 and above) of the active modules' defined
// slots and of the thirty palette parameters: kept (and the flags set) in the
// settings program or while the analyser runs and the block's follow switch
// for that kind is on; otherwise the source becomes oscillation.  Without an
// open block no analyser can be running.
void ResolveSoundSources();
