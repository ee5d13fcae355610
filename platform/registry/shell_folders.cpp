#include "platform/registry/registry.h"

namespace platform {

bool ReadShellFolder(const char* name, char* path) {
    constexpr char ShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = MAX_PATH;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || size == 0) return false;
    path[size < MAX_PATH ? size : MAX_PATH - 1] = '\0';
    return path[0] != '\0';
}

}  // namespace platform
