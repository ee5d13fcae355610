#pragma once
// Starting the spectrum analyser from its registered command line.
#include <string>

#include "platform/win32.h"

// The machine-wide key whose default value is the analyser's command line.
constexpr char AnalyserCommandKey[] = "Software\\Tonalyx";

// Runs the analyser's command line.  With play = 0 it runs as registered; with
// play = 1 it runs with " /PPLAY" appended, and only when the bottom edge of
// `window` is the screen's bottom edge (a full-screen saver, not a preview).  TRUE when a
// command was started.  Without a registered command line the analyser
// installed beside this program runs; without either nothing happens.
BOOL StartAnalyser(HWND window, BOOL play);

// Registers `program` (an absolute path) as the analyser's command line,
// quoted when it holds blanks.  FALSE for a path that cannot be one: empty,
// holding a double quote or a control character, or too long for the 260
// bytes the saver reads.
BOOL RegisterAnalyserCommand(const std::string& program);

// The registered command line, empty when there is none (or none usable).
std::string RegisteredAnalyserCommand();

// The analyser program a package installs in the saver's own folder.
constexpr char BundledAnalyserName[] = "lumora-spectrum";

// The command line of the analyser beside `programPath` (the saver's own
// path), empty when that folder has none.
std::string BundledAnalyserCommand(const std::string& programPath);
