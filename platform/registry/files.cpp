#include "platform/registry/files.h"

#include <mutex>

#include "platform/registry/handles.h"
#include "platform/registry/hive.h"

namespace platform {
namespace {

// The hive behind a handle, or null for a handle that names none.
registry::Hive* HiveOf(HKEY root) {
    registry::KeyRef ref;
    return registry::ResolveHandle(root, ref) ? &registry::Hive::Get(ref.hive) : nullptr;
}

}  // namespace

std::string RegistryHiveFile(HKEY root) {
    registry::Hive* hive = HiveOf(root);
    return hive ? hive->FilePath() : std::string();
}

LONG RegistryHiveStatus(HKEY root) {
    registry::Hive* hive = HiveOf(root);
    if (!hive) return ERROR_INVALID_HANDLE;
    std::lock_guard<std::recursive_mutex> lock(hive->mutex());
    return hive->Ensure();
}

void KeepRegistryHiveInMemory(HKEY root) {
    registry::Hive* hive = HiveOf(root);
    if (!hive) return;
    std::lock_guard<std::recursive_mutex> lock(hive->mutex());
    hive->KeepInMemory();
}

}  // namespace platform
