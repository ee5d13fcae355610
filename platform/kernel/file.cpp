// File handles: open, read, write, seek, size.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/errors.h"
#include "platform/kernel/object.h"
#include "platform/kernel/paths.h"

namespace platform::kernel {
namespace {

struct FileObject : KernelObject {
    explicit FileObject(int descriptor) : fd(descriptor) {}
    ~FileObject() override { close(fd); }
    int fd;
};

HANDLE FailOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// ENOENT means a missing file only when its directory exists.
DWORD OpenError(int error, const char* path) {
    if (error == ENOENT) {
        struct stat info{};
        if (stat(DirectoryOf(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ERROR_PATH_NOT_FOUND;
        return ERROR_FILE_NOT_FOUND;
    }
    if (error == EEXIST) return ERROR_FILE_EXISTS;
    return ErrorFromErrno(error);
}

}  // namespace
}  // namespace platform::kernel

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE) {
    using namespace platform::kernel;
    if (!fileName || !*fileName) return FailOpen(ERROR_PATH_NOT_FOUND);
    bool read = desiredAccess & GENERIC_READ;
    bool write = desiredAccess & GENERIC_WRITE;
    int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    int fd = -1;
    bool existed = false;
    switch (creationDisposition) {
    case CREATE_NEW:
        fd = open(fileName, flags | O_CREAT | O_EXCL, mode);
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        fd = open(fileName, flags | O_CREAT | O_EXCL, mode);
        if (fd < 0 && errno == EEXIST) {
            existed = true;
            fd = open(fileName, flags | (creationDisposition == CREATE_ALWAYS ? O_TRUNC : 0));
        }
        break;
    case OPEN_EXISTING:
        fd = open(fileName, flags);
        break;
    case TRUNCATE_EXISTING:
        if (!write) return FailOpen(ERROR_INVALID_PARAMETER);
        fd = open(fileName, flags | O_TRUNC);
        break;
    default:
        return FailOpen(ERROR_INVALID_PARAMETER);
    }
    if (fd < 0) return FailOpen(OpenError(errno, fileName));
    struct stat info{};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return FailOpen(ERROR_ACCESS_DENIED);
    }
    HANDLE handle = AddHandle(std::make_shared<FileObject>(fd));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    using namespace platform::kernel;
    if (bytesRead) *bytesRead = 0;
    auto object = Resolve<FileObject>(file);
    if (!object) return FALSE;
    if (overlapped || (!buffer && bytesToRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD done = 0;
    while (done < bytesToRead) {
        ssize_t n = read(object->fd, static_cast<char*>(buffer) + done, bytesToRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (bytesRead) *bytesRead = done;
            return FailWithErrno();
        }
        if (n == 0) break;  // end of file: success with fewer bytes
        done += static_cast<DWORD>(n);
    }
    if (bytesRead) *bytesRead = done;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
    using namespace platform::kernel;
    if (bytesWritten) *bytesWritten = 0;
    auto object = Resolve<FileObject>(file);
    if (!object) return FALSE;
    if (overlapped || (!buffer && bytesToWrite > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD done = 0;
    while (done < bytesToWrite) {
        ssize_t n = write(object->fd, static_cast<const char*>(buffer) + done, bytesToWrite - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (bytesWritten) *bytesWritten = done;
            if (n == 0) errno = ENOSPC;
            return FailWithErrno();
        }
        done += static_cast<DWORD>(n);
    }
    if (bytesWritten) *bytesWritten = done;
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
    using namespace platform::kernel;
    auto object = Resolve<FileObject>(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    int whence = moveMethod == FILE_BEGIN ? SEEK_SET : moveMethod == FILE_CURRENT ? SEEK_CUR
                 : moveMethod == FILE_END ? SEEK_END : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high part the distance is a signed 32-bit value; with one,
    // the two form a signed 64-bit distance.
    std::int64_t offset = distanceHigh
        ? static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*distanceHigh)) << 32) |
                                    static_cast<DWORD>(distance))
        : distance;
    off_t base = whence == SEEK_SET ? 0 : lseek(object->fd, 0, whence);
    if (base < 0 || base + offset < 0) {
        SetLastError(base < 0 ? ErrorFromErrno(errno) : ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    off_t position = lseek(object->fd, base + offset, SEEK_SET);
    if (position < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
    SetLastError(NO_ERROR);  // INVALID_SET_FILE_POINTER can be a valid low part
    return static_cast<DWORD>(position);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
    using namespace platform::kernel;
    auto object = Resolve<FileObject>(file);
    if (!object) return INVALID_FILE_SIZE;
    struct stat info{};
    if (fstat(object->fd, &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (fileSizeHigh) *fileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size);
}
