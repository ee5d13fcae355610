#include <cstring>
#include <string>

#include "platform/registry/access.h"
#include "platform/registry/names.h"
#include "platform/registry/registry.h"

using namespace platform::registry;

namespace platform::registry {

LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
    if (name.size() + 1 > *size) return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size) {
    if (!size) return ERROR_SUCCESS;
    DWORD available = *size;
    *size = static_cast<DWORD>(data.size());
    if (!buffer) return ERROR_SUCCESS;
    if (data.size() > available) return ERROR_MORE_DATA;
    if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
    return ERROR_SUCCESS;
}

}  // namespace platform::registry

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD /*lpReserved*/, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    std::string name;
    LONG error = CheckValueName(lpValueName, name);
    if (error != ERROR_SUCCESS) return error;
    StoredValue value;
    error = WithKey(hKey, KEY_QUERY_VALUE, false,
                    [&](Hive& hive, const KeyRef& ref) { return GetValue(hive, ref.id, name, value); });
    if (error != ERROR_SUCCESS) return error;
    if (lpType) *lpType = value.type;
    return CopyData(value.data, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    if (!lpData && cbData > 0) return ERROR_INVALID_PARAMETER;
    std::string name;
    LONG error = CheckValueName(lpValueName, name);
    if (error != ERROR_SUCCESS) return error;
    return WithKey(hKey, KEY_SET_VALUE, true, [&](Hive& hive, const KeyRef& ref) {
        return PutValue(hive, ref.id, name, dwType, lpData, cbData);
    });
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    std::string name;
    LONG error = CheckValueName(lpValueName, name);
    if (error != ERROR_SUCCESS) return error;
    return WithKey(hKey, KEY_SET_VALUE, true,
                   [&](Hive& hive, const KeyRef& ref) { return RemoveValue(hive, ref.id, name); });
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD /*lpReserved*/,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    StoredValue value;
    LONG error = WithKey(hKey, KEY_QUERY_VALUE, false,
                         [&](Hive& hive, const KeyRef& ref) { return ValueAt(hive, ref.id, dwIndex, value); });
    if (error != ERROR_SUCCESS) return error;
    error = CopyName(value.name, lpValueName, lpcchValueName);
    if (error != ERROR_SUCCESS) return error;
    if (lpType) *lpType = value.type;
    return CopyData(value.data, lpData, lpcbData);
}
