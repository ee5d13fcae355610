// Named file mappings as files in /dev/shm.
//
// Crash safety comes from advisory locks, which the kernel drops when a
// process dies: every holder keeps a shared flock() on the block, and
// creating, opening and closing are serialised by an exclusive flock() on a
// companion lock file ("<name>.lock").  Inside that serialised step:
// - a block that exists but admits an exclusive lock has no live holder: it
//   was left by a process that died, so it is recreated (zeroed, reported new);
// - a closer that can take an exclusive lock on its block is the last holder
//   and removes the block and the lock file.
// A process waiting for the lock file while the last closer removes it finds,
// once it holds the lock, that the file it locked is no longer the one under
// that name, and starts over with the current one.
#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/errors.h"
#include "platform/kernel/object.h"

namespace platform::kernel {
namespace {

constexpr const char* kShmDirectory = "/dev/shm/";

bool ValidName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name.size() < 200;
}

// Names live in the user's own namespace, as on Windows they live in the
// session's: one user's saver never meets another's blocks (which it could
// not open).  LUMORA_SHM_NAMESPACE gives tests a namespace of their own.
std::string BlockPath(const std::string& name) {
    const char* ns = std::getenv("LUMORA_SHM_NAMESPACE");
    const std::string prefix = ns && *ns ? std::string(ns) : "lumora-" + std::to_string(getuid());
    return kShmDirectory + prefix + "." + name;
}

// Holds the exclusive lock on a block's lock file for the life of the object.
class SerialLock {
public:
    explicit SerialLock(std::string path) : path_(std::move(path)) {
        for (;;) {
            fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd_ < 0) return;
            int locked;
            while ((locked = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
            }
            struct stat held{}, named{};
            if (locked == 0 && fstat(fd_, &held) == 0 && stat(path_.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino)
                return;
            close(fd_);
            fd_ = -1;
            if (locked != 0) return;
        }
    }
    ~SerialLock() {
        if (fd_ >= 0) close(fd_);
    }
    SerialLock(const SerialLock&) = delete;
    SerialLock& operator=(const SerialLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    void RemoveFile() const { unlink(path_.c_str()); }

private:
    std::string path_;
    int fd_ = -1;
};

bool Unheld(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

// One open of a block (or an anonymous memory file), shared by the mapping
// handle and every view mapped from it.
struct MappingCore {
    int fd = -1;
    std::string path;  // empty for an unnamed mapping
    SIZE_T size = 0;
    bool writable = true;

    ~MappingCore() {
        if (fd < 0) return;
        if (!path.empty()) {
            SerialLock serial(path + ".lock");
            if (serial.Held() && Unheld(fd)) {
                unlink(path.c_str());
                serial.RemoveFile();
            }
        }
        close(fd);
    }
};

struct MappingObject : KernelObject {
    std::shared_ptr<MappingCore> core;
};

struct View {
    SIZE_T length;
    std::shared_ptr<MappingCore> core;
};

struct ViewTable {
    std::mutex mutex;
    std::map<const void*, View> views;
};

ViewTable& Views() {
    static ViewTable* table = new ViewTable;
    return *table;
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

HANDLE FailErrno() { return Fail(ErrorFromErrno(errno)); }

HANDLE AddMapping(std::shared_ptr<MappingCore> core) {
    auto object = std::make_shared<MappingObject>();
    object->core = std::move(core);
    return AddHandle(std::move(object));
}

HANDLE CreateUnnamed(SIZE_T size, bool writable) {
    auto core = std::make_shared<MappingCore>();
    core->fd = memfd_create("lumora-mapping", MFD_CLOEXEC);
    if (core->fd < 0) return FailErrno();
    if (ftruncate(core->fd, static_cast<off_t>(size)) != 0) return FailErrno();
    core->size = size;
    core->writable = writable;
    SetLastError(NO_ERROR);
    return AddMapping(std::move(core));
}

}  // namespace
}  // namespace platform::kernel

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCSTR name) {
    using namespace platform::kernel;
    if (file != INVALID_HANDLE_VALUE) return Fail(ERROR_NOT_SUPPORTED);
    if (protect != PAGE_READWRITE && protect != PAGE_READONLY) return Fail(ERROR_INVALID_PARAMETER);
    SIZE_T size = (static_cast<std::uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    if (size == 0) return Fail(ERROR_INVALID_PARAMETER);
    bool writable = protect == PAGE_READWRITE;
    if (!name) return CreateUnnamed(size, writable);
    if (!ValidName(name)) return Fail(ERROR_INVALID_NAME);

    // Declared before the lock so that a failed create closes after releasing it.
    auto core = std::make_shared<MappingCore>();
    core->writable = writable;
    std::string path = BlockPath(name);
    SerialLock serial(path + ".lock");
    if (!serial.Held()) return FailErrno();

    bool existed = false;
    core->fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (core->fd < 0) {
        if (errno != EEXIST) return FailErrno();
        core->fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (core->fd < 0) return FailErrno();
        if (Unheld(core->fd)) {
            // Left behind by a holder that died: start afresh with zeros.
            if (ftruncate(core->fd, 0) != 0) return FailErrno();
        } else {
            existed = true;
        }
    }
    core->path = path;  // from here on, the core's destructor closes properly
    struct stat info{};
    if (fstat(core->fd, &info) != 0) return FailErrno();
    if (static_cast<SIZE_T>(info.st_size) < size && ftruncate(core->fd, static_cast<off_t>(size)) != 0)
        return FailErrno();
    core->size = std::max(size, static_cast<SIZE_T>(info.st_size));
    if (flock(core->fd, LOCK_SH) != 0) return FailErrno();
    HANDLE handle = AddMapping(std::move(core));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

HANDLE OpenFileMappingA(DWORD desiredAccess, BOOL, LPCSTR name) {
    using namespace platform::kernel;
    if (!name || !ValidName(name)) return Fail(ERROR_INVALID_NAME);
    // Declared before the lock so that a failed open closes after releasing it.
    auto core = std::make_shared<MappingCore>();
    std::string path = BlockPath(name);
    SerialLock serial(path + ".lock");
    if (!serial.Held()) return FailErrno();
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        if (error == ENOENT) serial.RemoveFile();  // no block, so nobody needs the lock file
        errno = error;
        return FailErrno();
    }
    if (Unheld(fd)) {
        // Nobody alive holds it: it does not exist any more.
        unlink(path.c_str());
        serial.RemoveFile();
        close(fd);
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    core->fd = fd;
    core->path = path;
    core->writable = (desiredAccess & (FILE_MAP_WRITE | FILE_MAP_COPY)) != 0;
    struct stat info{};
    if (fstat(fd, &info) != 0 || flock(fd, LOCK_SH) != 0) return FailErrno();
    core->size = static_cast<SIZE_T>(info.st_size);
    SetLastError(NO_ERROR);
    return AddMapping(std::move(core));
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
    using namespace platform::kernel;
    auto object = Resolve<MappingObject>(mapping);
    if (!object) return nullptr;
    const auto& core = object->core;
    std::uint64_t offset = (static_cast<std::uint64_t>(offsetHigh) << 32) | offsetLow;
    static const long page = sysconf(_SC_PAGESIZE);
    if (offset % static_cast<std::uint64_t>(page) != 0 || offset >= core->size) return Fail(ERROR_INVALID_PARAMETER);
    if (bytes == 0) bytes = core->size - offset;
    if (bytes > core->size - offset) return Fail(ERROR_ACCESS_DENIED);
    bool write = (desiredAccess & (FILE_MAP_WRITE | FILE_MAP_COPY)) != 0;
    if (write && !core->writable) return Fail(ERROR_ACCESS_DENIED);
    int protection = write ? PROT_READ | PROT_WRITE : PROT_READ;
    int flags = (desiredAccess & FILE_MAP_COPY) && !(desiredAccess & FILE_MAP_WRITE) ? MAP_PRIVATE : MAP_SHARED;
    void* address = mmap(nullptr, bytes, protection, flags, core->fd, static_cast<off_t>(offset));
    if (address == MAP_FAILED) return FailErrno();
    ViewTable& table = Views();
    std::lock_guard lock(table.mutex);
    table.views.emplace(address, View{bytes, core});
    return address;
}

BOOL UnmapViewOfFile(LPCVOID address) {
    using namespace platform::kernel;
    View view;  // released after the table lock
    ViewTable& table = Views();
    std::lock_guard lock(table.mutex);
    auto it = table.views.find(address);
    if (it == table.views.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    view = std::move(it->second);
    table.views.erase(it);
    munmap(const_cast<void*>(address), view.length);
    return TRUE;
}
