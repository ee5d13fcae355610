#pragma once
// The graphics import filters the platform ships, registered in a new
// machine hive as an installer registers them on Windows.
#include "platform/registry/hive.h"

namespace platform::registry {

// One key per extension under "SOFTWARE\Microsoft\Shared Tools\Graphics
// Filters\Import", with the string values "Name", "Extensions" and "Path",
// for each shipped filter library found in the import filter folder.
LONG RegisterImportFilters(Hive& hive);

}  // namespace platform::registry
