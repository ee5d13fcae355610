#pragma once
// Starting the spectrum analyser from its registered command line.
#include "platform/win32.h"

// The machine-wide key whose default value is the analyser's command line.
constexpr char AnalyserCommandKey[] = "Software\\Tonalyx";

// Runs the analyser's command line.  With play = 0 it runs as registered; with
// play = 1 it runs with " /PPLAY" appended, and only when the bottom edge of
// `window` is the screen's bottom edge (a full-screen saver, not a preview).  TRUE when a
// command was started; nothing happens without a registered command line.
BOOL StartAnalyser(HWND window, BOOL play);
