#pragma once
// Where the hives are kept, whether they can be used, and a run that keeps
// one in memory when its file cannot be.
#include <string>

#include "platform/types.h"

namespace platform {

// The file behind HKEY_CURRENT_USER, or behind HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT; empty for any other handle.
std::string RegistryHiveFile(HKEY root);

// Opens the hive behind the handle: ERROR_SUCCESS, or the error every call on
// it would return (ERROR_BADDB for a file that is not a hive, ERROR_REGISTRY_
// CORRUPT, ERROR_ACCESS_DENIED, ERROR_CANTOPEN, ...).
LONG RegistryHiveStatus(HKEY root);

// From now on this process keeps the hive behind the handle in memory: a new,
// empty hive that lives until the process ends.  The file is not touched.
// For programs that would rather run on defaults than not at all.
void KeepRegistryHiveInMemory(HKEY root);

}  // namespace platform
