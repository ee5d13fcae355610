#include "support/shared_memory.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace testsupport {
namespace {

const std::filesystem::path kShmDirectory = "/dev/shm";

// Removes every file of the namespace ("<name>.<block>" and its lock file).
void RemoveNamespace(const std::string& name) {
    std::error_code ec;
    std::filesystem::directory_iterator entries(kShmDirectory, ec);
    if (ec) return;
    const std::string prefix = name + ".";
    for (const auto& entry : entries) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) std::filesystem::remove(entry.path(), ec);
    }
}

// The namespaces "<prefix><pid>" whose program is no longer running.
void RemoveOrphanedNamespaces(const std::string& prefix) {
    std::error_code ec;
    std::filesystem::directory_iterator entries(kShmDirectory, ec);
    if (ec) return;
    for (const auto& entry : entries) {
        std::string file = entry.path().filename().string();
        if (file.rfind(prefix, 0) != 0) continue;
        std::size_t dot = file.find('.', prefix.size());
        std::string digits = file.substr(prefix.size(), dot - prefix.size());
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        pid_t pid = static_cast<pid_t>(std::strtol(digits.c_str(), nullptr, 10));
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace

SharedMemoryNamespace::SharedMemoryNamespace(const std::string& prefix)
    : name_(prefix + std::to_string(getpid())), owner_(getpid()) {
    RemoveOrphanedNamespaces(prefix);
    if (const char* previous = std::getenv("LUMORA_SHM_NAMESPACE")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    setenv("LUMORA_SHM_NAMESPACE", name_.c_str(), 1);
}

SharedMemoryNamespace::~SharedMemoryNamespace() {
    if (getpid() != owner_) return;
    RemoveNamespace(name_);
    if (hadPrevious_)
        setenv("LUMORA_SHM_NAMESPACE", previous_.c_str(), 1);
    else
        unsetenv("LUMORA_SHM_NAMESPACE");
}

}  // namespace testsupport
