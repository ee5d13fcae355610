#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace testsupport {

TempDir::TempDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = pattern;
    owner_ = getpid();
}

TempDir::~TempDir() {
    if (getpid() != owner_) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ScopedPlatformRoot::ScopedPlatformRoot() : dir_("lumora-root") {
    const char* old = std::getenv("LUMORA_ROOT");
    hadPrevious_ = old != nullptr;
    if (old) previous_ = old;
    setenv("LUMORA_ROOT", dir_.str().c_str(), 1);
}

ScopedPlatformRoot::~ScopedPlatformRoot() {
    if (hadPrevious_)
        setenv("LUMORA_ROOT", previous_.c_str(), 1);
    else
        unsetenv("LUMORA_ROOT");
}

ScopedHome::ScopedHome() : dir_("lumora-home") {
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const char* old = std::getenv(name);
        previous_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        unsetenv(name);
    }
    setenv("HOME", dir_.str().c_str(), 1);
}

ScopedHome::~ScopedHome() {
    for (const auto& [name, value] : previous_) {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
}

}  // namespace testsupport
