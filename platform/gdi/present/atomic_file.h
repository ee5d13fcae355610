#pragma once
// A file that appears whole or not at all: written beside its final name
// under a temporary one and renamed over it once complete.  Dropped without
// commit, the temporary file goes and whatever stood at the name stays.
#include <cstddef>
#include <string>

namespace gdi {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(const std::string& path, std::string* error);
    // A failed write is remembered and reported by commit.
    void write(const void* data, std::size_t size);
    // Closes and renames into place; false (with the reason) when anything
    // written since open failed.
    bool commit(std::string* error);

private:
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    int writeErrno_ = 0;
};

}  // namespace gdi
