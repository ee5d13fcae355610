#include "platform/kernel/file_info.h"

#include <cstring>

namespace platform::kernel {
namespace {

FILETIME FileTimeOf(const timespec& time) {
    // 100-nanosecond intervals since 1601-01-01.
    constexpr std::int64_t kEpochDifference = 11644473600;
    std::uint64_t ticks = static_cast<std::uint64_t>(time.tv_sec + kEpochDifference) * 10000000u +
                          static_cast<std::uint64_t>(time.tv_nsec) / 100u;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

DWORD AttributesOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

void FillFindData(const struct stat& info, const std::string& name, WIN32_FIND_DATAA& data) {
    data.dwFileAttributes = AttributesOf(info);
    data.ftCreationTime = FileTimeOf(info.st_mtim);
    data.ftLastAccessTime = FileTimeOf(info.st_atim);
    data.ftLastWriteTime = FileTimeOf(info.st_mtim);
    auto size = S_ISDIR(info.st_mode) ? 0u : static_cast<std::uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(data.cFileName, name.data(), length);
    data.cFileName[length] = '\0';
    data.cAlternateFileName[0] = '\0';  // no short names on this file system
}

}  // namespace platform::kernel
