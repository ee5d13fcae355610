#pragma once
// A file that appears whole or not at all: written beside its final name
// under a temporary one and renamed over it once complete.  Dropped without
// commit, the temporary file goes and whatever stood at the name stays.  As
// a write in place would: a link is written through, not replaced, and a
// file replaced keeps its permissions.
#include <cstddef>
#include <string>

namespace platform {

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
    std::string path_;  // the link's target where the name is a link
    std::string temp_;
    int fd_ = -1;
    int writeErrno_ = 0;
};

}  // namespace platform
