#include "fuzz/private_root.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/registry/files.h"
#include "platform/win32.h"

namespace fuzzsupport {
namespace {

struct Root {
    std::string path;
    Root() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumora-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("lumora fuzzing: no private platform root");
            std::abort();
        }
        path = pattern;
        setenv("LUMORA_ROOT", path.c_str(), 1);
        // A hive file costs a disk write per change; in memory the same
        // registry code runs many times faster.
        platform::KeepRegistryHiveInMemory(HKEY_CURRENT_USER);
        platform::KeepRegistryHiveInMemory(HKEY_LOCAL_MACHINE);
    }
    ~Root() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& PrivateRoot() {
    static const Root root;
    return root.path;
}

std::string WriteInput(const char* name, const void* data, std::size_t size) {
    std::string path = PrivateRoot() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(out.good());
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace fuzzsupport
