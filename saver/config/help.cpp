// Help by topic, and the guide the program carries.
#include <cstring>
#include <string>
#include <vector>

#include "saver/config/help_guide.h"
#include "saver/config/settings_sheet.h"

namespace {

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

// Whether the file already holds exactly these bytes.
bool Holds(const std::string& path, const EmbeddedFile& file) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD high = 0;
    bool same = GetFileSize(handle, &high) == file.size && high == 0;
    std::vector<unsigned char> present(same ? file.size : 0);
    DWORD read = 0;
    if (same && file.size > 0)
        same = ReadFile(handle, present.data(), static_cast<DWORD>(file.size), &read, nullptr) && read == file.size &&
               std::memcmp(present.data(), file.data, file.size) == 0;
    CloseHandle(handle);
    return same;
}

void Write(const std::string& path, const EmbeddedFile& file) {
    if (Holds(path, file)) return;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(handle, file.data, static_cast<DWORD>(file.size), &written, nullptr);
    CloseHandle(handle);
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
    std::string windows = WindowsDirectory();
    if (windows.empty()) return;
    CreateDirectoryA((windows + "/" + HelpGuideFolder).c_str(), nullptr);
    const EmbeddedFile* index = nullptr;
    for (std::size_t i = 0; i < HelpGuideFilesCount; ++i) {
        const EmbeddedFile& file = HelpGuideFiles[i];
        if (std::strcmp(file.name, HelpFileName) == 0)
            index = &file;
        else
            Write(windows + "/" + HelpGuideFolder + "/" + file.name, file);
    }
    // The index last: a guide is only found once its pages are there.
    if (index) Write(windows + "/" + HelpFileName, *index);
}
