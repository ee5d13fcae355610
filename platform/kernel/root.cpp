#include "platform/kernel/root.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : ".";
}

std::string DataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return data;
    return HomeDirectory() + "/.local/share";
}

std::string PlatformRoot() {
    if (const char* root = std::getenv("LUMORA_ROOT"); root && *root) return root;
    return DataHome() + "/lumora";
}

}  // namespace platform
