#include "platform/registry/handles.h"

#include <mutex>
#include <unordered_set>

#include "platform/registry/hive.h"

// The object behind an HKEY.  Its fields never change after it is made, so a
// copy taken under the table's lock stays valid after the handle is closed.
struct RegistryKey {
    platform::registry::KeyRef ref;
};

namespace {

RegistryKey userRoot{{platform::registry::kUserHive, platform::registry::kRootKeyId, KEY_ALL_ACCESS,
                      platform::registry::KeyKind::kRoot}};
RegistryKey machineRoot{{platform::registry::kMachineHive, platform::registry::kRootKeyId, KEY_ALL_ACCESS,
                         platform::registry::KeyKind::kRoot}};
RegistryKey classesRoot{{platform::registry::kMachineHive, 0, KEY_ALL_ACCESS,
                         platform::registry::KeyKind::kClasses}};

struct HandleTable {
    std::mutex mutex;
    std::unordered_set<RegistryKey*> open;
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives threads still closing keys at exit
    return *table;
}

}  // namespace

RegistryKey* const HKEY_CLASSES_ROOT = &classesRoot;
RegistryKey* const HKEY_CURRENT_USER = &userRoot;
RegistryKey* const HKEY_LOCAL_MACHINE = &machineRoot;

namespace platform::registry {

bool ResolveHandle(HKEY handle, KeyRef& ref) {
    if (handle == &userRoot || handle == &machineRoot || handle == &classesRoot) {
        ref = handle->ref;
        return true;
    }
    HandleTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (!table.open.count(handle)) return false;
    ref = handle->ref;
    return true;
}

HKEY NewHandle(int hive, std::int64_t id, REGSAM access) {
    auto* key = new RegistryKey{{hive, id, access, KeyKind::kOpened}};
    HandleTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    table.open.insert(key);
    return key;
}

bool ReleaseHandle(HKEY handle) {
    if (handle == &userRoot || handle == &machineRoot || handle == &classesRoot) return true;
    HandleTable& table = Table();
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        if (!table.open.erase(handle)) return false;
    }
    delete handle;
    return true;
}

}  // namespace platform::registry
