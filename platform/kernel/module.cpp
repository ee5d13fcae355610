#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/kernel.h"

DWORD GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size) {
    std::vector<char> path(4096);
    ssize_t length;
    while ((length = readlink("/proc/self/exe", path.data(), path.size())) == static_cast<ssize_t>(path.size()))
        path.resize(path.size() * 2);
    if (length < 0) {
        SetLastError(platform::kernel::ErrorFromErrno(errno));
        return 0;
    }
    if (!fileName || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    auto needed = static_cast<DWORD>(length);
    if (needed >= size) {
        // Truncated and still terminated; the caller sees the full size.
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.data(), needed);
    fileName[needed] = '\0';
    SetLastError(NO_ERROR);
    return needed;
}
