// Whole-file and directory operations, and the current directory.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/file_info.h"
#include "platform/kernel/paths.h"

namespace platform::kernel {
namespace {

bool Exists(const char* path) {
    struct stat info{};
    return lstat(path, &info) == 0;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// A missing source or destination directory is ERROR_PATH_NOT_FOUND when
// the directory part is what is missing.
DWORD MissingError(const std::string& path) {
    struct stat info{};
    if (stat(DirectoryOf(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

// Copies the open source into a new temporary file beside the destination;
// returns the temporary's path, or an empty string with errno set.
std::string CopyToTemporary(int source, const struct stat& sourceInfo, const std::string& destination) {
    std::string directory = DirectoryOf(destination);
    std::string base = destination.substr(destination.find_last_of('/') + 1);
    std::string temporary = directory + "/." + base + ".copy-XXXXXX";
    int target = mkostemp(temporary.data(), O_CLOEXEC);
    if (target < 0) return {};
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    for (;;) {
        ssize_t n = read(source, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t written = 0; written < n;) {
            ssize_t w = write(target, buffer.data() + written, static_cast<std::size_t>(n - written));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                if (w == 0) errno = ENOSPC;
                ok = false;
                break;
            }
            written += w;
        }
        if (!ok) break;
    }
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    ok = ok && fchmod(target, sourceInfo.st_mode & 07777) == 0 && futimens(target, times) == 0 && fsync(target) == 0;
    int saved = errno;
    if (close(target) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        errno = saved;
        return {};
    }
    return temporary;
}

// Renames the finished copy into place.  Without overwriting, a destination
// that appeared meanwhile is refused atomically where the file system can.
bool PlaceCopy(const std::string& temporary, const char* destination, bool noReplace) {
    if (!noReplace) return rename(temporary.c_str(), destination) == 0;
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (Exists(destination)) {
        errno = EEXIST;
        return false;
    }
    return rename(temporary.c_str(), destination) == 0;
}

}  // namespace
}  // namespace platform::kernel

DWORD GetFileAttributesA(LPCSTR path) {
    using namespace platform::kernel;
    struct stat info{};
    if (!path || !*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (stat(path, &info) != 0) {
        SetLastError(errno == ENOENT ? MissingError(path) : ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(info);
}

BOOL CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists) {
    using namespace platform::kernel;
    if (!existingFile || !newFile || !*existingFile || !*newFile) return Fail(ERROR_INVALID_PARAMETER);
    int source = open(existingFile, O_RDONLY | O_CLOEXEC);
    if (source < 0) return Fail(errno == ENOENT ? MissingError(existingFile) : ErrorFromErrno(errno));
    struct stat info{};
    if (fstat(source, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(source);
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (failIfExists && Exists(newFile)) {
        close(source);
        return Fail(ERROR_FILE_EXISTS);
    }
    std::string temporary = CopyToTemporary(source, info, newFile);
    int copyError = errno;
    close(source);
    if (temporary.empty()) return Fail(copyError == ENOENT ? MissingError(newFile) : ErrorFromErrno(copyError));
    if (!PlaceCopy(temporary, newFile, failIfExists)) {
        int placeError = errno;
        unlink(temporary.c_str());
        return Fail(placeError == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(placeError));
    }
    return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
    using namespace platform::kernel;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    struct stat info{};
    if (lstat(path, &info) == 0 && S_ISDIR(info.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (unlink(path) != 0) return Fail(errno == ENOENT ? MissingError(path) : ErrorFromErrno(errno));
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    using namespace platform::kernel;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    if (mkdir(path, 0777) != 0) return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR path) {
    using namespace platform::kernel;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    if (rmdir(path) != 0) {
        DWORD error = errno == EEXIST || errno == ENOTEMPTY ? ERROR_DIR_NOT_EMPTY
                      : errno == ENOTDIR                   ? ERROR_DIRECTORY
                                                           : ErrorFromErrno(errno);
        return Fail(error);
    }
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    using namespace platform::kernel;
    std::vector<char> cwd(4096);
    while (!getcwd(cwd.data(), cwd.size())) {
        if (errno != ERANGE) {
            SetLastError(ErrorFromErrno(errno));
            return 0;
        }
        cwd.resize(cwd.size() * 2);
    }
    return CopyToBuffer(cwd.data(), buffer, bufferLength);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    using namespace platform::kernel;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    if (chdir(path) != 0) return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return TRUE;
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength) {
    using namespace platform::kernel;
    if (!longPath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return CopyToBuffer(longPath, shortPath, bufferLength);
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    using namespace platform::kernel;
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string full = fileName;
    if (full[0] != '/') {
        std::vector<char> cwd(4096);
        if (!getcwd(cwd.data(), cwd.size())) {
            SetLastError(ErrorFromErrno(errno));
            return 0;
        }
        std::string directory = cwd.data();
        full = (directory == "/" ? "" : directory) + "/" + full;
    }
    DWORD result = CopyToBuffer(full, buffer, bufferLength);
    if (filePart && buffer && result < bufferLength) {
        char* slash = std::strrchr(buffer, '/');
        *filePart = slash && slash[1] ? slash + 1 : nullptr;
    }
    return result;
}
