#include "platform/registry/files.h"

#include <mutex>

#include "platform/registry/handles.h"
#include "platform/registry/hive.h"

namespace platform {

std::string RegistryHiveFile(HKEY root) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(root, ref)) return {};
    return registry::Hive::Get(ref.hive).FilePath();
}

LONG RegistryHiveStatus(HKEY root) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(root, ref)) return ERROR_INVALID_HANDLE;
    registry::Hive& hive = registry::Hive::Get(ref.hive);
    std::lock_guard<std::recursive_mutex> lock(hive.mutex());
    return hive.Ensure();
}

void KeepRegistryHiveInMemory(HKEY root) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(root, ref)) return;
    registry::Hive& hive = registry::Hive::Get(ref.hive);
    std::lock_guard<std::recursive_mutex> lock(hive.mutex());
    hive.KeepInMemory();
}

bool RegistryHiveInMemory(HKEY root) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(root, ref)) return false;
    registry::Hive& hive = registry::Hive::Get(ref.hive);
    std::lock_guard<std::recursive_mutex> lock(hive.mutex());
    return hive.inMemory();
}

}  // namespace platform
