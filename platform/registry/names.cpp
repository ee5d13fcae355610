#include "platform/registry/names.h"

#include <cstring>

#include "platform/registry/registry.h"

namespace platform::registry {

std::string Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

LONG SplitKeyPath(const char* path, std::vector<std::string>& names) {
    names.clear();
    if (!path) return ERROR_SUCCESS;
    if (*path == '\\') return ERROR_INVALID_PARAMETER;
    std::string_view rest(path);
    while (!rest.empty()) {
        std::size_t end = rest.find('\\');
        std::string_view name = rest.substr(0, end);
        if (name.size() > MAX_KEY_NAME_LENGTH) return ERROR_INVALID_PARAMETER;
        if (!name.empty()) names.emplace_back(name);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return ERROR_SUCCESS;
}

LONG CheckValueName(const char* name, std::string& out) {
    if (!name) {
        out.clear();
        return ERROR_SUCCESS;
    }
    std::size_t length = strnlen(name, MAX_VALUE_NAME_LENGTH + 1);
    if (length > MAX_VALUE_NAME_LENGTH) return ERROR_INVALID_PARAMETER;
    out.assign(name, length);
    return ERROR_SUCCESS;
}

}  // namespace platform::registry
