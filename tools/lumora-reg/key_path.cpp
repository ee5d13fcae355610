#include "tools/lumora-reg/key_path.h"

#include <strings.h>

namespace lumorareg {
namespace {

struct RootName {
    const char* longName;
    const char* shortName;
    HKEY key;
};

}  // namespace

KeyPath KeyPath::Child(const std::string& name) const {
    KeyPath child = *this;
    child.sub = sub.empty() ? name : sub + "\\" + name;
    return child;
}

bool ParseKeyPath(const std::string& text, KeyPath& key) {
    const RootName roots[] = {
        {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
        {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    };
    std::size_t end = text.find('\\');
    std::string head = text.substr(0, end);
    for (const RootName& root : roots) {
        if (strcasecmp(head.c_str(), root.longName) != 0 && strcasecmp(head.c_str(), root.shortName) != 0)
            continue;
        key.root = root.key;
        key.rootName = root.longName;
        key.sub = end == std::string::npos ? std::string() : text.substr(end + 1);
        while (!key.sub.empty() && key.sub.back() == '\\') key.sub.pop_back();
        return true;
    }
    return false;
}

std::string ErrorText(LONG code) {
    const char* reason;
    switch (code) {
    case ERROR_FILE_NOT_FOUND: reason = "not found"; break;
    case ERROR_ACCESS_DENIED: reason = "access denied (a key with sub-keys, or a file without permission)"; break;
    case ERROR_INVALID_PARAMETER: reason = "invalid name"; break;
    case ERROR_BADDB: reason = "the hive file is not a registry hive"; break;
    case ERROR_REGISTRY_CORRUPT: reason = "the hive file is corrupt"; break;
    case ERROR_CANTOPEN: reason = "the hive file cannot be opened"; break;
    case ERROR_REGISTRY_IO_FAILED: reason = "the hive file cannot be read or written"; break;
    case ERROR_BUSY: reason = "the hive is busy"; break;
    case ERROR_DISK_FULL: reason = "the disk is full"; break;
    case ERROR_KEY_DELETED: reason = "the key was deleted"; break;
    case ERROR_OUTOFMEMORY: reason = "out of memory"; break;
    default: reason = "registry error"; break;
    }
    return std::string(reason) + " (error " + std::to_string(code) + ")";
}

}  // namespace lumorareg
