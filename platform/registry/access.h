#pragma once
// Runs one registry call on the key behind a handle: checks the handle and
// its rights, locks and opens the hive, and does the work as one atomic
// change on a key that still exists.
#include <mutex>

#include "platform/registry/handles.h"
#include "platform/registry/hive.h"
#include "platform/registry/store.h"

namespace platform::registry {

// The delete right of a handle, part of KEY_ALL_ACCESS.
constexpr REGSAM kDeleteRight = 0x00010000;

template <typename Work>
LONG WithKey(HKEY handle, REGSAM needed, bool write, Work&& work) {
    KeyRef ref;
    if (!ResolveHandle(handle, ref)) return ERROR_INVALID_HANDLE;
    if ((ref.access & needed) != needed) return ERROR_ACCESS_DENIED;
    Hive& hive = Hive::Get(ref.hive);
    std::lock_guard<std::recursive_mutex> lock(hive.mutex());
    LONG error = hive.Ensure();
    if (error != ERROR_SUCCESS) return error;
    if (ref.kind == KeyKind::kClasses) ref.id = hive.classesKey();
    return hive.Atomic(write, [&]() -> LONG {
        if (ref.kind == KeyKind::kOpened) {
            LONG alive = KeyAlive(hive, ref.id);
            if (alive != ERROR_SUCCESS) return alive;
        }
        return work(hive, ref);
    });
}

// Keys no call may delete: a hive's top key and the one behind
// HKEY_CLASSES_ROOT.
inline bool IsProtectedKey(const Hive& hive, const KeyRef& ref, std::int64_t key) {
    return key == kRootKeyId || (ref.hive == kMachineHive && key == hive.classesKey());
}

// Copies a name into a caller's buffer of *size characters; on return *size
// is the length without the terminating zero.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD size);
// Copies value data into a caller's buffer the way RegQueryValueExA does.
LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size);

}  // namespace platform::registry
