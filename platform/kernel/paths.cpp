#include "platform/kernel/paths.h"

#include <cstring>

namespace platform::kernel {

DWORD CopyToBuffer(const std::string& text, LPSTR buffer, DWORD size) {
    if (!buffer || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace platform::kernel
