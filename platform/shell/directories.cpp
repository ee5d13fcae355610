#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/kernel/kernel.h"
#include "platform/kernel/windows_directory.h"
#include "platform/shell/folders.h"
#include "platform/shell/shell.h"

namespace {

UINT CopyDirectory(const std::string& path, LPSTR buffer, UINT size) {
    platform::EnsureWindowsDirectory();
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) {
        SetLastError(ec == std::errc::permission_denied ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (!buffer || size <= path.size()) return static_cast<UINT>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<UINT>(path.size());
}

}  // namespace

UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
    return CopyDirectory(platform::WindowsDirectory(), lpBuffer, uSize);
}

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) {
    return CopyDirectory(platform::SystemDirectory(), lpBuffer, uSize);
}
