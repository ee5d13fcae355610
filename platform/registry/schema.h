#pragma once
// The layout of a hive file and the keys a new hive starts with.
#include <cstdint>

#include "platform/registry/hive.h"

namespace platform::registry {

enum class HiveFormat {
    kEmpty,    // a new file: no tables yet
    kHive,     // a hive of this format
    kForeign,  // some other database, or a newer hive format: never touched
};

HiveFormat ReadFormat(Hive& hive, LONG& error);

// Makes an empty file a hive.  The user's hive starts with the shell folders
// "Desktop" and "Startup", the machine's with Software\Classes and the
// shipped import filters.
LONG CreateHive(Hive& hive, bool userHive);

// Software\Classes of the machine hive, the key behind HKEY_CLASSES_ROOT.
LONG FindClassesKey(Hive& hive, std::int64_t& key);
LONG MakeClassesKey(Hive& hive, std::int64_t& key);

}  // namespace platform::registry
