// Help by topic, and the guide that ships beside the program.
#include <cstring>
#include <string>

#include "saver/config/settings_sheet.h"

namespace {

constexpr char GuideFolder[] = "lumora-help";

const char* Keyword(DWORD topic) {
    switch (topic) {
    case HelpSound: return "The Lumoric Screen Saver - Sound Settings";
    case HelpMain: return "The Lumoric Screen Saver - Main Settings";
    case HelpPalette: return "The Lumoric Screen Saver - Palette Settings";
    case HelpDisplay: return "The Lumoric Screen Saver - Display Settings";
    case HelpCustom: return "The Lumoric Screen Saver - Custom Palette Settings";
    default: return nullptr;
    }
}

std::string WindowsDirectory() {
    char directory[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    return length > 0 && length < sizeof directory ? std::string(directory, length) : std::string();
}

std::string ProgramDirectory() {
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return {};
    std::string path(program, length);
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool Newer(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    ULONGLONG left = (static_cast<ULONGLONG>(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
    ULONGLONG right = (static_cast<ULONGLONG>(b.ftLastWriteTime.dwHighDateTime) << 32) | b.ftLastWriteTime.dwLowDateTime;
    return left > right;
}

// Copies the file when the destination lacks it, differs in size or is older.
void Refresh(const std::string& from, const std::string& to) {
    WIN32_FIND_DATAA source{};
    HANDLE found = FindFirstFileA(from.c_str(), &source);
    if (found == INVALID_HANDLE_VALUE) return;
    FindClose(found);
    WIN32_FIND_DATAA present{};
    HANDLE there = FindFirstFileA(to.c_str(), &present);
    if (there != INVALID_HANDLE_VALUE) {
        FindClose(there);
        if (present.nFileSizeLow == source.nFileSizeLow && present.nFileSizeHigh == source.nFileSizeHigh &&
            !Newer(source, present))
            return;
    }
    CopyFileA(from.c_str(), to.c_str(), FALSE);
}

}  // namespace

void ShowHelp(HWND window, DWORD topic) {
    std::string file = HelpFileName;
    BOOL shown;
    if (const char* keyword = Keyword(topic)) {
        shown = WinHelpA(window, file.c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword));
    } else {
        file = WindowsDirectory() + "/" + HelpFileName;
        shown = WinHelpA(window, file.c_str(), HELP_CONTENTS, 0);
    }
    if (!shown)
        MessageBoxA(window, "The help could not be opened: its pages are missing from the Windows directory, or no "
                    "web browser could be started.", "Lumora Help", MB_OK | MB_ICONEXCLAMATION);
}

void InstallHelp() {
    std::string from = ProgramDirectory();
    std::string to = WindowsDirectory();
    if (from.empty() || to.empty()) return;
    CreateDirectoryA((to + "/" + GuideFolder).c_str(), nullptr);
    WIN32_FIND_DATAA entry{};
    HANDLE search = FindFirstFileA((from + "/" + GuideFolder + "/*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::string name = std::string(GuideFolder) + "/" + entry.cFileName;
            Refresh(from + "/" + name, to + "/" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    // The index last: a guide is only found once its pages are there.
    Refresh(from + "/" + HelpFileName, to + "/" + HelpFileName);
}
