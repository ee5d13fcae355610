#pragma once
// The sound-driven displays shipped with the saver: each is one module whose
// sound-allowed controls follow the analyser's levels.  With AutoRun and the
// CD text on, a saver showing one starts the analyser itself; the saver's
// "[R] Saved Sound Settings" picks them while the analyser runs.
#include <string>
#include <vector>

// Creates the displays in the current registry from the registered control
// defaults and writes each to "<folder>/<display name>.LUM".  The names of
// the files written, empty when one could not be written.
std::vector<std::string> WriteSoundDisplays(const std::string& folder);
