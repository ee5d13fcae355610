// WinHelpA over an HTML guide: the help file is a small index that names a
// page per keyword, and the page opens in the desktop's browser.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/kernel/kernel.h"
#include "platform/shell/shell.h"
#include "platform/ui/backend.h"
#include "platform/ui/ui.h"

namespace {

namespace fs = std::filesystem;

constexpr char ContentsKeyword[] = "contents";

// Keywords are compared the way WinHelp compares them: without regard to case.
bool SameKeyword(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

fs::path IndexPath(const char* helpFile) {
    fs::path path(helpFile);
    if (path.has_parent_path()) return path;
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return path;
    return fs::path(windows) / path;
}

// The page named for `keyword` in the index, and the contents page as the
// fallback; nothing when the index cannot be read or names neither.
std::optional<fs::path> FindPage(const fs::path& index, const std::string& keyword) {
    std::ifstream in(index);
    if (!in) return std::nullopt;
    std::optional<std::string> match;
    std::optional<std::string> contents;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string key = line.substr(0, tab);
        std::string page = line.substr(tab + 1);
        if (!match && !keyword.empty() && SameKeyword(key, keyword)) match = page;
        if (!contents && SameKeyword(key, ContentsKeyword)) contents = page;
    }
    const std::optional<std::string>& chosen = match ? match : contents;
    if (!chosen || chosen->empty()) return std::nullopt;
    return index.parent_path() / *chosen;
}

}  // namespace

BOOL WinHelpA(HWND, LPCSTR helpFile, UINT command, ULONG_PTR data) {
    if (command == HELP_QUIT) return TRUE;
    if (!helpFile || !*helpFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string keyword;
    if ((command == HELP_KEY || command == HELP_PARTIALKEY) && data != 0)
        keyword = reinterpret_cast<const char*>(data);
    std::optional<fs::path> page = FindPage(IndexPath(helpFile), keyword);
    std::error_code error;
    if (!page || !fs::is_regular_file(*page, error)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return platform::activeUiBackend().openDocument(page->lexically_normal().string()) ? TRUE : FALSE;
}
