// FindFirstFileA/FindNextFileA over one directory.  The matches are taken
// when the search starts, in the order the file system lists them, so files
// deleted or added while a caller walks the list do not disturb the walk.
// "." and ".." are never listed: no caller wants them, and a mask such as
// "*.*" would otherwise count them as files.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/file_info.h"
#include "platform/kernel/object.h"

namespace platform::kernel {
namespace {

struct FindObject : KernelObject {
    std::vector<WIN32_FIND_DATAA> matches;
    std::size_t next = 0;
};

bool MatchFrom(const char* pattern, const char* name) {
    for (; *pattern; ++pattern, ++name) {
        if (*pattern == '*') {
            while (pattern[1] == '*') ++pattern;
            for (const char* rest = name;; ++rest) {
                if (MatchFrom(pattern + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*name) return false;
        if (*pattern != '?' &&
            std::tolower(static_cast<unsigned char>(*pattern)) != std::tolower(static_cast<unsigned char>(*name)))
            return false;
    }
    return !*name;
}

}  // namespace

bool MaskMatches(const std::string& mask, const std::string& name) {
    if (mask == "*.*") return true;
    return MatchFrom(mask.c_str(), name.c_str());
}

}  // namespace platform::kernel

HANDLE FindFirstFileA(LPCSTR mask, LPWIN32_FIND_DATAA data) {
    using namespace platform::kernel;
    if (!mask || !*mask || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string full = mask;
    auto separator = full.find_last_of("/\\");
    std::string directory = separator == std::string::npos ? "." : separator == 0 ? "/" : full.substr(0, separator);
    std::string pattern = separator == std::string::npos ? full : full.substr(separator + 1);

    DIR* listing = opendir(directory.c_str());
    if (!listing) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<FindObject>();
    while (dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name.size() >= MAX_PATH || !MaskMatches(pattern, name)) continue;
        struct stat info{};
        if (fstatat(dirfd(listing), entry->d_name, &info, 0) != 0) continue;  // vanished or dangling link
        WIN32_FIND_DATAA found{};
        FillFindData(info, name, found);
        search->matches.push_back(found);
    }
    closedir(listing);
    if (search->matches.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = search->matches[0];
    search->next = 1;
    SetLastError(NO_ERROR);
    return AddHandle(std::move(search));
}

BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data) {
    using namespace platform::kernel;
    auto object = Resolve<FindObject>(search);
    if (!object) return FALSE;
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (object->next >= object->matches.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = object->matches[object->next++];
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    using namespace platform::kernel;
    if (!Resolve<FindObject>(search)) return FALSE;
    RemoveHandle(search);
    return TRUE;
}
