#pragma once
// A directory under /tmp that exists for the life of the object.
#include <filesystem>
#include <string>

namespace testsupport {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "lumora-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

private:
    std::filesystem::path path_;
    int owner_;  // only the creating process removes it, never a forked child
};

// Points LUMORA_ROOT at a fresh temporary directory for the life of the
// object and restores the previous value afterwards.
class ScopedPlatformRoot {
public:
    ScopedPlatformRoot();
    ~ScopedPlatformRoot();
    ScopedPlatformRoot(const ScopedPlatformRoot&) = delete;
    ScopedPlatformRoot& operator=(const ScopedPlatformRoot&) = delete;

    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::string previous_;
    bool hadPrevious_;
};

}  // namespace testsupport
