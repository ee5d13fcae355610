// Debug output and the version the system reports.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/kernel/kernel.h"

void OutputDebugStringA(LPCSTR text) {
    if (!text || !std::getenv("LUMORA_DEBUG")) return;
    std::size_t length = std::strlen(text);
    std::fputs(text, stderr);
    if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}
