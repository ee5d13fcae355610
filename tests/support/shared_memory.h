#pragma once
// A shared-memory namespace of the test program's own: named blocks go to
// /dev/shm/<namespace>.<name>, so test programs running side by side never see
// each other's blocks.  Children the tests kill on purpose leave their blocks
// behind; the namespace removes whatever is left in it when it ends, and on
// creation whatever test programs that died left in theirs.
#include <string>

namespace testsupport {

class SharedMemoryNamespace {
public:
    // "<prefix><pid>", set as LUMORA_SHM_NAMESPACE for the life of the object.
    explicit SharedMemoryNamespace(const std::string& prefix = "lumoratest");
    ~SharedMemoryNamespace();
    SharedMemoryNamespace(const SharedMemoryNamespace&) = delete;
    SharedMemoryNamespace& operator=(const SharedMemoryNamespace&) = delete;

    const std::string& name() const { return name_; }

private:
    std::string name_;
    std::string previous_;
    bool hadPrevious_ = false;
    int owner_;  // only the creating process removes the files, never a forked child
};

}  // namespace testsupport
