#include <cstring>
#include <string>
#include <vector>

#include "platform/registry/access.h"
#include "platform/registry/names.h"
#include "platform/registry/registry.h"

using namespace platform::registry;

namespace {

// Keys carry no class or write time: report them empty.
void ClearClassAndTime(LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    if (lpClass && lpcchClass && *lpcchClass > 0) lpClass[0] = '\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
}

void Store(LPDWORD out, std::int64_t value) {
    if (out) *out = static_cast<DWORD>(value);
}

}  // namespace

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/, DWORD /*dwOptions*/,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::vector<std::string> names;
    LONG error = SplitKeyPath(lpSubKey, names);
    if (error != ERROR_SUCCESS) return error;

    std::int64_t id = 0;
    bool created = false;
    int hiveIndex = 0;
    error = WithKey(hKey, 0, true, [&](Hive& hive, const KeyRef& ref) -> LONG {
        hiveIndex = ref.hive;
        LONG found = FindKey(hive, ref.id, names, id);
        if (found != ERROR_FILE_NOT_FOUND) return found;
        if (!(ref.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
        return CreateKey(hive, ref.id, names, id, created);
    });
    if (error != ERROR_SUCCESS) return error;
    *phkResult = NewHandle(hiveIndex, id, samDesired);
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::vector<std::string> names;
    LONG error = SplitKeyPath(lpSubKey, names);
    if (error != ERROR_SUCCESS) return error;

    std::int64_t id = 0;
    int hiveIndex = 0;
    error = WithKey(hKey, 0, false, [&](Hive& hive, const KeyRef& ref) -> LONG {
        hiveIndex = ref.hive;
        return FindKey(hive, ref.id, names, id);
    });
    if (error != ERROR_SUCCESS) return error;
    *phkResult = NewHandle(hiveIndex, id, samDesired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) { return ReleaseHandle(hKey) ? ERROR_SUCCESS : static_cast<LONG>(ERROR_INVALID_HANDLE); }

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    std::vector<std::string> names;
    LONG error = SplitKeyPath(lpSubKey, names);
    if (error != ERROR_SUCCESS) return error;

    return WithKey(hKey, 0, true, [&](Hive& hive, const KeyRef& ref) -> LONG {
        if (names.empty() && !(ref.access & kDeleteRight)) return ERROR_ACCESS_DENIED;
        std::int64_t target = 0;
        LONG found = FindKey(hive, ref.id, names, target);
        if (found != ERROR_SUCCESS) return found;
        if (IsProtectedKey(hive, ref, target)) return ERROR_ACCESS_DENIED;
        std::int64_t children = 0;
        LONG counted = CountSubKeys(hive, target, children);
        if (counted != ERROR_SUCCESS) return counted;
        // Windows NT refuses to delete a key that has sub-keys.
        if (children > 0) return ERROR_ACCESS_DENIED;
        return RemoveKey(hive, target);
    });
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD /*lpReserved*/,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
    std::string name;
    LONG error = WithKey(hKey, KEY_ENUMERATE_SUB_KEYS, false, [&](Hive& hive, const KeyRef& ref) {
        return SubKeyAt(hive, ref.id, dwIndex, name);
    });
    if (error != ERROR_SUCCESS) return error;
    error = CopyName(name, lpName, lpcchName);
    if (error == ERROR_SUCCESS) ClearClassAndTime(lpClass, lpcchClass, lpftLastWriteTime);
    return error;
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD /*lpReserved*/, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime) {
    KeyInfo info;
    LONG error = WithKey(hKey, KEY_QUERY_VALUE, false,
                         [&](Hive& hive, const KeyRef& ref) { return QueryKeyInfo(hive, ref.id, info); });
    if (error != ERROR_SUCCESS) return error;
    Store(lpcSubKeys, info.subKeys);
    Store(lpcbMaxSubKeyLen, info.maxSubKeyName);
    Store(lpcbMaxClassLen, 0);
    Store(lpcValues, info.values);
    Store(lpcbMaxValueNameLen, info.maxValueName);
    Store(lpcbMaxValueLen, info.maxValueData);
    Store(lpcbSecurityDescriptor, 0);
    ClearClassAndTime(lpClass, lpcchClass, lpftLastWriteTime);
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY hKey) {
    LONG error = WithKey(hKey, 0, false, [](Hive&, const KeyRef&) { return static_cast<LONG>(ERROR_SUCCESS); });
    if (error != ERROR_SUCCESS) return error;
    KeyRef ref;
    if (!ResolveHandle(hKey, ref)) return ERROR_INVALID_HANDLE;
    Hive& hive = Hive::Get(ref.hive);
    std::lock_guard<std::recursive_mutex> lock(hive.mutex());
    return hive.Checkpoint();
}
