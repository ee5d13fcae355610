#pragma once
// The state of a saver run that the window thread, the drawing thread and the
// palette thread share.  The flags and counters are whole 32-bit words that
// each thread reads and writes without a lock, so they are atomics.
#include <atomic>

#include "platform/win32.h"
#include "saver/palette/palette_settings.h"

#include "saver/framework/run_flag.h"

// Set by the window procedure when the window goes.  A drawing thread still
// setting its run up (it may wait two seconds after a mode switch) would set
// Running again and draw on after the window is gone; it stops on this.
extern std::atomic<LONG> StopRequested;
// Set by the palette thread once its first palette is in place.
extern std::atomic<LONG> PaletteReady;
// Incremented at the start of every frame.
extern std::atomic<DWORD> FrameCounter;
// Nonzero when the window procedure changed the display mode for this run.
extern std::atomic<LONG> ModeSwitched;
// 1 when this run started the spectrum analyser itself.
extern std::atomic<LONG> AnalyserStartedHere;

// The drawing thread is created and closed by the window procedure, the
// palette thread by the drawing thread; the window thread suspends and
// resumes both.
extern std::atomic<HANDLE> DrawingThread;
extern std::atomic<HANDLE> PaletteThread;

// The saver window's own device context, which every module draws on, and
// the palette engine animating the palette selected into it.  Both are set
// up by the drawing thread before the palette thread starts.
extern HDC Canvas;
extern std::atomic<PaletteSettings*> PaletteEngine;
