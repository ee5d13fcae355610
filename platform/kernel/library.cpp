// Shared libraries over dlopen.  A handle is the address of a record in a
// table of loaded libraries, so a stale or foreign handle is found missing
// and never dereferenced.
#include "platform/kernel/library.h"

#include <dlfcn.h>
#include <strings.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/kernel/kernel.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/root.h"

struct Module {
    std::string path;
    void* library = nullptr;
    int loads = 0;
};

namespace platform {
namespace {

namespace fs = std::filesystem;

std::mutex tableMutex;
// Keyed by the library's canonical path, so two names of one file share it.
std::map<std::string, std::unique_ptr<Module>>& Table() {
    static auto* table = new std::map<std::string, std::unique_ptr<Module>>;
    return *table;
}

std::string ProgramDirectory() {
    char path[4096];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return "";
    return kernel::DirectoryOf(path);
}

bool HoldsFilters(const fs::path& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".FLT") == 0 && it->is_regular_file(ec))
            return true;
    }
    return false;
}

// The entry of `dir` whose name equals `name` but for case.
std::string FindInDirectory(const std::string& dir, const std::string& name) {
    if (dir.empty()) return "";
    std::error_code ec;
    const fs::path exact = fs::path(dir) / name;
    if (fs::is_regular_file(exact, ec)) return exact.string();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (strcasecmp(it->path().filename().c_str(), name.c_str()) == 0 && it->is_regular_file(ec))
            return it->path().string();
    }
    return "";
}

Module* Lookup(HMODULE handle) {
    for (auto& [path, module] : Table()) {
        if (module.get() == handle) return module.get();
    }
    return nullptr;
}

}  // namespace

std::string ImportFilterDirectory() {
    static const std::string found = [] {
        std::string start = ProgramDirectory();
        if (start.empty()) return std::string();
        for (fs::path dir = start;; dir = dir.parent_path()) {
            for (const char* sub : {"filters", "lib/lumora/filters"}) {
                if (HoldsFilters(dir / sub)) return (dir / sub).string();
            }
            if (dir == dir.parent_path() || dir.empty()) break;
        }
        return std::string();
    }();
    return found;
}

std::string FindLibraryFile(const char* fileName) {
    if (!fileName || !*fileName) return "";
    const std::string name = fileName;
    if (name.find_first_of("/\\") != std::string::npos) {
        std::error_code ec;
        return fs::is_regular_file(name, ec) ? name : "";
    }
    const std::string windows = PlatformRoot() + "/windows";
    for (const std::string& dir : {ProgramDirectory(), ImportFilterDirectory(), windows + "/system", windows}) {
        std::string path = FindInDirectory(dir, name);
        if (!path.empty()) return path;
    }
    return "";
}

HMODULE LoadSharedLibrary(const char* fileName) {
    const std::string path = FindLibraryFile(fileName);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::error_code ec;
    fs::path canonical = fs::canonical(path, ec);
    const std::string key = ec ? path : canonical.string();
    std::lock_guard lock(tableMutex);
    auto& table = Table();
    auto it = table.find(key);
    if (it != table.end()) {
        ++it->second->loads;
        return it->second.get();
    }
    void* library = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    auto module = std::make_unique<Module>();
    module->path = key;
    module->library = library;
    module->loads = 1;
    HMODULE handle = module.get();
    table.emplace(key, std::move(module));
    return handle;
}

bool IsSharedLibrary(HMODULE handle) {
    std::lock_guard lock(tableMutex);
    return Lookup(handle) != nullptr;
}

void* SharedLibrarySymbol(HMODULE handle, const char* name) {
    std::lock_guard lock(tableMutex);
    Module* module = Lookup(handle);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A value below 65536 is an ordinal, which shared objects do not have.
    const bool byName = reinterpret_cast<std::uintptr_t>(name) >= 0x10000;
    void* symbol = byName ? dlsym(module->library, name) : nullptr;
    if (!symbol) SetLastError(ERROR_PROC_NOT_FOUND);
    return symbol;
}

bool FreeSharedLibrary(HMODULE handle) {
    std::lock_guard lock(tableMutex);
    Module* module = Lookup(handle);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (--module->loads == 0) {
        dlclose(module->library);
        Table().erase(module->path);
    }
    return true;
}

}  // namespace platform
