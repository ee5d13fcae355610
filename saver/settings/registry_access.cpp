#include "saver/settings/registry_access.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "saver/settings/key_paths.h"
#include "saver/settings/registry_key.h"

using settings::RegKey;

namespace {

std::string KeyOfWord(const char* keyWord) { return std::string("Control Panel\\") + keyWord; }

}  // namespace

BOOL ReadSaverValue(const char* valueName, const char* keyWord, DWORD* type, void* buffer, DWORD* size) {
    DWORD capacity = size != nullptr ? *size : 0;
    if (buffer != nullptr) std::memset(buffer, 0, capacity);
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyOfWord(keyWord), KEY_READ) != ERROR_SUCCESS) return 0;
    DWORD read = capacity;
    LONG error = RegQueryValueExA(key.get(), valueName, nullptr, type, static_cast<BYTE*>(buffer), &read);
    if (error != ERROR_SUCCESS) {
        // A value too big for the buffer counts as missing: nothing of it
        // may be left behind.
        if (buffer != nullptr) std::memset(buffer, 0, capacity);
        return 0;
    }
    if (size != nullptr) *size = read;
    return 1;
}

BOOL ReadSaverValuePrefix(const char* valueName, const char* keyWord, void* buffer, DWORD size) {
    std::memset(buffer, 0, size);
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyOfWord(keyWord), KEY_READ) != ERROR_SUCCESS) return 0;
    std::vector<BYTE> whole;
    LONG error;
    do {  // again if another writer made the value longer in between
        DWORD length = 0;
        error = RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &length);
        if (error != ERROR_SUCCESS) return 0;
        whole.resize(length);
        error = RegQueryValueExA(key.get(), valueName, nullptr, nullptr, whole.data(), &length);
        whole.resize(length);
    } while (error == ERROR_MORE_DATA);
    if (error != ERROR_SUCCESS) return 0;
    std::memcpy(buffer, whole.data(), std::min<std::size_t>(whole.size(), size));
    return 1;
}

BOOL WriteSaverValue(const char* valueName, const char* keyWord, DWORD type, const void* data, DWORD size) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyOfWord(keyWord), KEY_WRITE) != ERROR_SUCCESS) return 0;
    if (size == 0) {
        RegDeleteValueA(key.get(), valueName);
    } else {
        RegSetValueExA(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size);
    }
    return 1;
}

BOOL KeyExists(const char* path) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, path, KEY_READ) == ERROR_SUCCESS ? 1 : 0;
}

BOOL WriteStringValue(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    RegKey key;
    if (key.Create(root, keyPath) != ERROR_SUCCESS) return 0;
    DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
                   ERROR_SUCCESS
               ? 1
               : 0;
}

BOOL DisplayHasModule(const char* display, const char* module) {
    if (!ValidDisplayName(display)) return 0;
    return KeyExists(ModuleKeyPath(display, module).c_str());
}
