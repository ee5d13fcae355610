#pragma once
// The animation engine.  The drawing thread sets a run up, lets every active
// module draw frame after frame, and ends the run; the palette thread
// animates the palette under the picture.  The thread procedures are thin
// loops over the steps below, which the render mode and tests call directly
// on one thread.
#include "platform/win32.h"

// The sleep after a step that was not yet due, and the frame delay unit of
// `Speed`, in milliseconds.
constexpr DWORD IdleSleepMs = 10;
constexpr DWORD SpeedUnitMs = 10;
constexpr DWORD MaxSpeed = 10;
// How long a thread gets to end before it is terminated, and its exit code
// then.
constexpr DWORD ThreadStopMs = 2000;
constexpr DWORD TerminatedExitCode = 42;

// Run set-up on the drawing thread, up to starting the palette thread:
// seeds the random generator, takes the window's device context as the
// Canvas, prepares the twelve module records, creates the palette engine,
// sets up the overlays, builds the module table from the active display,
// starts the analyser when AutoRun asks for it and `mayStartAnalyser` allows
// it, sets the process priority and clears the screen when ClearFirst asks.
void PrepareRun(HWND window, BOOL mayStartAnalyser);
// Clamps, initialises and starts every active module in index order.
void StartModules();
// One frame: overlays, module steps by Strength, flush, Speed delay, and the
// capture and restart requests of the spectrum block.
void RunFrame();
// Frees every active module, stops the palette thread and destroys the
// palette engine.
void EndRun();

// The palette thread's steps: its own device context and a first pattern
// (then PaletteReady is set); one tick, returning the milliseconds to sleep
// until the next; and handing the device context back.
void BeginPaletteRun(HWND window);
DWORD PaletteStep();
void EndPaletteRun(HWND window);

// Thread procedures; the parameter is the saver window.
DWORD DrawingThreadMain(LPVOID window);
DWORD PaletteThreadMain(LPVOID window);

// From the window procedure after clearing Running: waits up to 2000 ms for
// the drawing thread, terminates it (exit code 42) when it has not ended,
// and forgets it.
void StopDrawingThread();
