#pragma once
// Open key handles.  A handle is a pointer to a RegistryKey; the table of
// live handles lets a closed or made-up handle fail with
// ERROR_INVALID_HANDLE instead of being read after it was freed.
#include <cstdint>

#include "platform/registry/registry.h"

namespace platform::registry {

enum class KeyKind { kOpened, kRoot, kClasses };

struct KeyRef {
    int hive = 0;
    std::int64_t id = 0;  // resolved for kRoot and kClasses by the caller
    REGSAM access = 0;
    KeyKind kind = KeyKind::kOpened;
};

// Copies what a handle refers to; false for an unknown handle.
bool ResolveHandle(HKEY handle, KeyRef& ref);
HKEY NewHandle(int hive, std::int64_t id, REGSAM access);
// False for an unknown handle; the predefined roots stay open.
bool ReleaseHandle(HKEY handle);

}  // namespace platform::registry
