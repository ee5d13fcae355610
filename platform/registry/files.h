#pragma once
// Where the hives are kept, for tools that report it.
#include <string>

#include "platform/types.h"

namespace platform {

// The file behind HKEY_CURRENT_USER, or behind HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT; empty for any other handle.
std::string RegistryHiveFile(HKEY root);

}  // namespace platform
