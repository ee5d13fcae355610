#pragma once
// A saved display shown for one run instead of the active one, "Active" left
// as it is: `--render --display NAME` and the hack option
// `-saved-display NAME` (xscreensaver's settings offer the first-run
// displays through it).
#include <string>

// From now on the module table loads `name` after the settings store has
// brought the registry up to date (the first-run displays among it).  Call
// after InstallSettingsStore.  A name that is no saved display leaves the
// active one loaded; with `reportOnFallBack` the load says so on standard
// error, once.
void ShowSavedDisplay(const std::string& name, bool reportOnFallBack);

// Whether the last load found no saved display of that name.
bool ShownDisplayMissing();
