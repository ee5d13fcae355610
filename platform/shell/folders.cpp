#include "platform/shell/folders.h"

#include <cstdlib>
#include <fstream>

#include "platform/kernel/root.h"

namespace platform {
namespace {

std::string ConfigHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return config;
    return HomeDirectory() + "/.config";
}

// One assignment of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/Desktop".  The
// format allows only an absolute path or one relative to $HOME, quoted.
bool ParseDesktopLine(const std::string& line, std::string& dir) {
    static const std::string kKey = "XDG_DESKTOP_DIR=";
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) return false;
    std::string value = line.substr(start + kKey.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return false;
    value = value.substr(1, value.size() - 2);
    static const std::string kHome = "$HOME";
    if (value.compare(0, kHome.size(), kHome) == 0 &&
        (value.size() == kHome.size() || value[kHome.size()] == '/'))
        value = HomeDirectory() + value.substr(kHome.size());
    if (value.empty() || value.front() != '/') return false;
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    dir = value;
    return true;
}

}  // namespace

std::string WindowsDirectory() { return PlatformRoot() + "/windows"; }

std::string SystemDirectory() { return WindowsDirectory() + "/system"; }

std::string DesktopDirectory() {
    std::string dir = HomeDirectory() + "/Desktop";
    std::ifstream file(ConfigHome() + "/user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) ParseDesktopLine(line, dir);
    return dir;
}

std::string StartupDirectory() { return ConfigHome() + "/autostart"; }

}  // namespace platform
