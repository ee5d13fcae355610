#include "tools/lumora-reg/tree.h"

#include <vector>

#include "tools/lumora-reg/value_text.h"

namespace lumorareg {
namespace {

// An open key that closes itself.
class OpenKey {
public:
    LONG Open(const KeyPath& key, REGSAM access) {
        return RegOpenKeyExA(key.root, key.sub.empty() ? nullptr : key.sub.c_str(), 0, access, &handle_);
    }
    LONG Open(HKEY parent, const std::string& child, REGSAM access) {
        return RegOpenKeyExA(parent, child.c_str(), 0, access, &handle_);
    }
    ~OpenKey() {
        if (handle_) RegCloseKey(handle_);
    }
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

LONG SubKeyNames(HKEY key, std::vector<std::string>& names) {
    names.clear();
    for (DWORD index = 0;; ++index) {
        char name[MAX_KEY_NAME_LENGTH + 1];
        DWORD size = sizeof name;
        LONG error = RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (error != ERROR_SUCCESS) return error;
        names.emplace_back(name, size);
    }
}

LONG WriteValues(const KeyPath& key, HKEY handle, std::ostream& out, std::string& error) {
    DWORD maxName = 0, maxData = 0;
    LONG result = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   &maxName, &maxData, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
        error = key.Full();
        return result;
    }
    std::string name(maxName + 1, '\0');
    std::string data(maxData, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        result = RegEnumValueA(handle, index, name.data(), &nameSize, nullptr, &type,
                               reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS) {
            error = key.Full() + " value " + std::to_string(index);
            return result;
        }
        std::string line;
        std::string valueName(name.data(), nameSize);
        if (!FormatValue(valueName, type, data.substr(0, dataSize), line)) {
            error = key.Full() + " value \"" + valueName + "\" has a line break in its name";
            return ERROR_INVALID_PARAMETER;
        }
        out << line << '\n';
    }
}

// Writes the open key and everything below it.  Each sub-key opens from
// its parent's handle, one name at a time, so a deep tree costs one lookup
// per key rather than one per level of every key.
LONG ExportOpen(const KeyPath& key, HKEY handle, std::ostream& out, std::string& error) {
    const std::string full = key.Full();
    if (full.find_first_of("\r\n") != std::string::npos) {
        error = full + ": a line break in a key name";
        return ERROR_INVALID_PARAMETER;
    }
    out << '[' << full << "]\n";
    LONG result = WriteValues(key, handle, out, error);
    if (result != ERROR_SUCCESS) return result;
    out << '\n';
    std::vector<std::string> children;
    if ((result = SubKeyNames(handle, children)) != ERROR_SUCCESS) {
        error = full;
        return result;
    }
    for (const std::string& name : children) {
        const KeyPath child = key.Child(name);
        OpenKey open;
        if ((result = open.Open(handle, name, KEY_READ)) != ERROR_SUCCESS) {
            error = child.Full();
            return result;
        }
        if ((result = ExportOpen(child, open.get(), out, error)) != ERROR_SUCCESS) return result;
    }
    return ERROR_SUCCESS;
}

}  // namespace

LONG DeleteTree(const KeyPath& key) {
    if (key.sub.empty()) return ERROR_ACCESS_DENIED;
    std::vector<std::string> children;
    {
        OpenKey open;
        LONG error = open.Open(key, KEY_READ);
        if (error == ERROR_SUCCESS) error = SubKeyNames(open.get(), children);
        if (error != ERROR_SUCCESS) return error;
    }
    for (const std::string& child : children) {
        LONG error = DeleteTree(key.Child(child));
        if (error != ERROR_SUCCESS) return error;
    }
    return RegDeleteKeyA(key.root, key.sub.c_str());
}

LONG ExportTree(const KeyPath& key, std::ostream& out, std::string& error) {
    OpenKey open;
    LONG result = open.Open(key, KEY_READ);
    if (result != ERROR_SUCCESS) {
        error = key.Full();
        return result;
    }
    return ExportOpen(key, open.get(), out, error);
}

LONG ListKey(const KeyPath& key, std::ostream& out, std::string& error) {
    OpenKey open;
    LONG result = open.Open(key, KEY_READ);
    if (result == ERROR_SUCCESS) result = WriteValues(key, open.get(), out, error);
    std::vector<std::string> children;
    if (result == ERROR_SUCCESS) result = SubKeyNames(open.get(), children);
    if (result != ERROR_SUCCESS) {
        if (error.empty()) error = key.Full();
        return result;
    }
    for (const std::string& child : children) out << child << "\\\n";
    return ERROR_SUCCESS;
}

}  // namespace lumorareg
