// Profile (INI) files: "[SECTION]" headers and "key=value" lines, names
// matched without regard to case.  Writing keeps every other line as it was
// and replaces the file atomically.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/kernel.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/root.h"
#include "platform/kernel/windows_directory.h"

namespace platform::kernel {
namespace {

struct ProfileFile {
    std::vector<std::string> lines;
    bool crlf = false;
    bool exists = false;
};

std::string Trim(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    auto end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A file name without a directory lives in the Windows directory.
std::string ResolveProfilePath(const std::string& name, bool createDirectory) {
    if (name.find('/') != std::string::npos) return name;
    std::string windows = createDirectory ? EnsureWindowsDirectory() : PlatformRoot() + "/windows";
    return windows + "/" + name;
}

ProfileFile Load(const std::string& path) {
    ProfileFile file;
    std::ifstream in(path, std::ios::binary);
    if (!in) return file;
    file.exists = true;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            file.crlf = true;
        }
        file.lines.push_back(line);
    }
    return file;
}

std::optional<std::string> SectionName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    auto close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

std::optional<std::string> KeyName(const std::string& line) {
    if (SectionName(line)) return std::nullopt;
    auto equals = line.find('=');
    if (equals == std::string::npos) return std::nullopt;
    std::string key = Trim(line.substr(0, equals));
    if (key.empty() || key[0] == ';') return std::nullopt;
    return key;
}

std::string ValueOf(const std::string& line) {
    std::string value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The lines [first, last) of a section, the header excluded; first is
// lines.size() when the section is missing.
struct SectionRange {
    std::size_t header;
    std::size_t first;
    std::size_t last;
};

SectionRange FindSection(const ProfileFile& file, const std::string& section) {
    const std::size_t count = file.lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        auto name = SectionName(file.lines[i]);
        if (!name || !SameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < count && !SectionName(file.lines[end])) ++end;
        return {i, i + 1, end};
    }
    return {count, count, count};
}

bool Save(const std::string& path, const ProfileFile& file) {
    std::string temporary = DirectoryOf(path) + "/.profile-XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    std::string text;
    for (const auto& line : file.lines) text += line + (file.crlf ? "\r\n" : "\n");
    bool ok = true;
    for (std::size_t done = 0; ok && done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

// Copies a value or a zero-separated list into the caller's buffer with
// Win32's truncation: the result counts the characters copied without the
// final zero(s).
DWORD CopyOut(const std::string& text, bool list, LPSTR out, DWORD size) {
    DWORD terminators = list ? 2 : 1;
    if (size < terminators) {
        if (size == 1) out[0] = '\0';
        return 0;
    }
    DWORD room = size - terminators;
    DWORD length = static_cast<DWORD>(std::min<std::size_t>(text.size(), room));
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    if (list) out[length + 1] = '\0';
    return length;
}

}  // namespace
}  // namespace platform::kernel

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    using namespace platform::kernel;
    if (!section || !fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string path = ResolveProfilePath(fileName, true);
    ProfileFile file = Load(path);
    SectionRange range = FindSection(file, section);
    auto& lines = file.lines;
    bool found = range.header < lines.size();
    const std::vector<std::string> before = lines;

    if (!key) {  // remove the whole section
        if (found)
            lines.erase(lines.begin() + static_cast<long>(range.header), lines.begin() + static_cast<long>(range.last));
    } else {
        std::optional<std::size_t> at;
        for (std::size_t i = range.first; found && i < range.last; ++i)
            if (auto name = KeyName(lines[i]); name && SameName(*name, key)) {
                at = i;
                break;
            }
        if (!value) {
            if (at) lines.erase(lines.begin() + static_cast<long>(*at));
        } else if (at) {
            lines[*at] = *KeyName(lines[*at]) + "=" + value;
        } else if (found) {
            std::size_t insert = range.last;
            while (insert > range.first && Trim(lines[insert - 1]).empty()) --insert;
            lines.insert(lines.begin() + static_cast<long>(insert), std::string(key) + "=" + value);
        } else {
            if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
            lines.push_back(std::string("[") + section + "]");
            lines.push_back(std::string(key) + "=" + value);
        }
    }
    if (lines == before) return TRUE;  // nothing to change: leave the file (or its absence) alone
    if (!Save(path, file)) return FailWithErrno();
    return TRUE;
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName) {
    using namespace platform::kernel;
    if (!returned || size == 0) return 0;
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return CopyOut("", false, returned, size);
    }
    ProfileFile file = Load(ResolveProfilePath(fileName, false));
    SetLastError(file.exists ? NO_ERROR : ERROR_FILE_NOT_FOUND);
    std::string list;
    if (!section) {
        for (const auto& line : file.lines)
            if (auto name = SectionName(line)) list += *name + '\0';
        return CopyOut(list, true, returned, size);
    }
    SectionRange range = FindSection(file, section);
    if (!key) {
        for (std::size_t i = range.first; i < range.last; ++i)
            if (auto name = KeyName(file.lines[i])) list += *name + '\0';
        return CopyOut(list, true, returned, size);
    }
    for (std::size_t i = range.first; i < range.last; ++i)
        if (auto name = KeyName(file.lines[i]); name && SameName(*name, key))
            return CopyOut(ValueOf(file.lines[i]), false, returned, size);
    std::string fallback = defaultValue ? defaultValue : "";
    fallback.erase(fallback.find_last_not_of(' ') + 1);
    return CopyOut(fallback, false, returned, size);
}
