#pragma once
// The registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are hive files under
// the platform root, HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes.
// Names are case-insensitive and case-preserving, values keep their type and
// bytes exactly as stored, sub-keys enumerate in case-insensitive order and
// values in creation order.  Results are Win32 error codes.
#include "platform/types.h"

using REGSAM = DWORD;
using LSTATUS = LONG;
using PFILETIME = FILETIME*;

// Value types.  Any other number is stored and returned as it is.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// Options and dispositions of RegCreateKeyExA.  Every key is kept on disk;
// REG_OPTION_VOLATILE is accepted and treated as non-volatile.
constexpr DWORD REG_OPTION_RESERVED = 0x0000;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0000;
constexpr DWORD REG_OPTION_VOLATILE = 0x0001;
constexpr DWORD REG_CREATED_NEW_KEY = 0x0001;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x0002;

// Access rights.  A handle opened without the right an operation needs
// refuses it with ERROR_ACCESS_DENIED; deleting hKey itself needs the delete
// right (0x00010000), which KEY_ALL_ACCESS includes.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// Win32 limits, in characters without the terminating zero.
constexpr DWORD MAX_KEY_NAME_LENGTH = 255;
constexpr DWORD MAX_VALUE_NAME_LENGTH = 16383;

// The predefined roots.  They are always open; closing them does nothing.
extern RegistryKey* const HKEY_CLASSES_ROOT;
extern RegistryKey* const HKEY_CURRENT_USER;
extern RegistryKey* const HKEY_LOCAL_MACHINE;

// Creates every missing key of the path; the disposition tells whether the
// last key was new.  A null or empty path opens another handle to hKey.
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
// ERROR_FILE_NOT_FOUND when the key is missing.
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCloseKey(HKEY hKey);

// A null lpData with lpcbData asks for the size; a buffer that is too small
// gives ERROR_MORE_DATA with the needed size.  The bytes come back exactly as
// they were stored: no terminator is added or removed.
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
// A null or empty name is the key's default value.  Overwriting a value keeps
// its place in the enumeration order.
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
// Refuses a key that has sub-keys (ERROR_ACCESS_DENIED); the key stays whole.
// An empty path deletes hKey itself.
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);

// lpcchName: buffer size in characters with the terminating zero on entry,
// name length without it on return.  Sub-keys come sorted case-insensitively;
// ERROR_NO_MORE_ITEMS past the last.
LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
// Values in creation order; name, type and data as RegQueryValueExA.
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
// Keys have no class, security descriptor or write time here: those outs
// report 0.  Any out may be null.
LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime);
// Every write survives a killed process when its call returns; flushing also
// syncs the hive file, so the changes survive a power loss.
LONG RegFlushKey(HKEY hKey);

namespace platform {

// A folder of the user's shell ("Desktop", "Startup") as the registry names
// it under the user's "...\Explorer\Shell Folders" key; false when it is
// missing, not a string or empty.
// `path` holds MAX_PATH characters.
bool ReadShellFolder(const char* name, char* path);

}  // namespace platform
