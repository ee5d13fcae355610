#include "saver/settings/registry_key.h"

#include <vector>

#include "saver/settings/little_endian.h"

namespace settings {

LONG RegKey::Open(HKEY root, const std::string& path, REGSAM access) {
    Close();
    return RegOpenKeyExA(root, path.c_str(), 0, access, &key_);
}

LONG RegKey::Create(HKEY root, const std::string& path) {
    Close();
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                           nullptr);
}

void RegKey::Close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
}

bool ReadLong(HKEY key, const char* name, LONG& out) {
    DWORD value = 0;
    if (!ReadDword(key, name, value)) return false;
    out = static_cast<LONG>(value);
    return true;
}

bool ReadDword(HKEY key, const char* name, DWORD& out) {
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return false;
    out = LoadLittleEndian(bytes);
    return true;
}

LONG WriteLong(HKEY key, const char* name, LONG value) {
    BYTE bytes[4];
    StoreLittleEndian(bytes, static_cast<DWORD>(value));
    return RegSetValueExA(key, name, 0, REG_BINARY, bytes, sizeof bytes);
}

LONG DeleteKeyTree(HKEY root, const std::string& path) {
    RegKey key;
    LONG error = key.Open(root, path, KEY_ALL_ACCESS);
    if (error == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (error != ERROR_SUCCESS) return error;

    // Names first, deletions after: deleting while enumerating would shift
    // the indexes under the loop.
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        char name[MAX_KEY_NAME_LENGTH + 1];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, length);
    }
    for (const std::string& child : children) {
        error = DeleteKeyTree(key.get(), child);
        if (error != ERROR_SUCCESS) return error;
    }
    key.Close();
    return RegDeleteKeyA(root, path.c_str());
}

}  // namespace settings
