#include "platform/kernel/root.h"

#include <cstdlib>

namespace platform {

std::string PlatformRoot() {
    if (const char* root = std::getenv("LUMORA_ROOT"); root && *root) return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data) + "/lumora";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/lumora";
}

}  // namespace platform
