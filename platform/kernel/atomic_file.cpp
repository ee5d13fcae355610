#include "platform/kernel/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

}  // namespace

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool AtomicFile::open(const std::string& path, std::string* error) {
    static std::atomic<unsigned> sequence{0};
    if (path.empty()) {
        *error = "no file name";
        return false;
    }
    path_ = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        path_ = std::filesystem::weakly_canonical(path, ec).string();
        if (ec) {
            *error = "cannot follow the link " + path + ": " + ec.message();
            return false;
        }
    }
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = path_ + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(sequence.fetch_add(1));
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            *error = Describe("cannot create", temp_, errno);
            return false;
        }
    }
    if (fd_ < 0) {
        *error = "cannot find a free temporary name beside " + path_;
        return false;
    }
    return true;
}

void AtomicFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0 && fd_ >= 0 && writeErrno_ == 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0) {
            if (errno != EINTR) writeErrno_ = errno;
            continue;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

bool AtomicFile::commit(std::string* error) {
    if (fd_ < 0) {
        *error = "no file open";
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    struct stat replaced {};
    if (::stat(path_.c_str(), &replaced) == 0) ::fchmod(fd, replaced.st_mode & 07777);
    if (writeErrno_ != 0 || ::close(fd) != 0) {
        *error = Describe("cannot write", temp_, writeErrno_ != 0 ? writeErrno_ : errno);
        ::unlink(temp_.c_str());
        return false;
    }
    if (::rename(temp_.c_str(), path_.c_str()) != 0) {
        *error = Describe("cannot rename to", path_, errno);
        ::unlink(temp_.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
