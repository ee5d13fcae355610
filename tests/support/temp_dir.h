#pragma once
// A directory under /tmp that exists for the life of the object.
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// Points HOME at a fresh temporary directory, with XDG_DATA_HOME and
// XDG_CONFIG_HOME unset so that the user's data and configuration folders
// lie inside it, for the life of the object; the three come back afterwards.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> previous_;
};

}  // namespace testsupport
