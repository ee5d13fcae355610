#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "saver/images/choose_file.h"
#include "saver/images/file_extension.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"

namespace {

constexpr char SettingsMask[] = "*.LUM";

bool FileNameCharacter(char c) {
    static constexpr char Punctuation[] = "$%'-_@ ~`!(){.}^#&+,;=[]";
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr(Punctuation, c) != nullptr);
}

// The file name without directory (either separator) and extension.
std::string BaseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return std::string(name, FileExtension(name));
}

// The selection a multiple-choice open dialog leaves: the directory, then
// each name, all zero-terminated, then an empty name; within `size` bytes.
std::vector<std::string> SelectedFiles(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < size && buffer[at] != '\0') {
        const std::size_t length = strnlen(buffer + at, size - at);
        parts.emplace_back(buffer + at, length);
        at += length + 1;
    }
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(parts[0] + "/" + parts[i]);
    return files;
}

}  // namespace

std::string ProposedFileName(const char* displayName) {
    std::string name = displayName != nullptr ? displayName : "";
    for (char& c : name) {
        if (!FileNameCharacter(c)) c = '_';
    }
    return name;
}

BOOL ExportDisplay(const char* displayName) {
    // An empty name would export the saved key with every display in it.
    if (displayName == nullptr || !ValidDisplayName(displayName)) return 0;
    char file[MAX_PATH];
    std::snprintf(file, sizeof file, "%s", ProposedFileName(displayName).c_str());
    if (!ChooseFile(file, SettingsMask, TRUE)) return 0;
    return WriteSettingsFile(DisplayKeyPath(displayName).c_str(), file);
}

BOOL ImportSettingsFile(std::vector<std::string>* displayList, const char* path, std::string* displayName) {
    if (path == nullptr) return 0;
    const std::string name = BaseName(path);
    if (displayName != nullptr) *displayName = name;
    if (!ValidDisplayName(name)) return 0;

    if (KeyExists(DisplayKeyPath(name).c_str())) {
        const std::string text =
            "This will overwrite your existing settings for \"" + name + "\"\n\nDo you wish to proceed?";
        if (MessageBoxA(nullptr, text.c_str(), "Settings by this name already exist!", MB_YESNO | MB_ICONQUESTION) !=
            IDYES) {
            return 0;
        }
    }
    if (!ReadSettingsFile(name.c_str(), path)) return 0;
    if (displayList != nullptr && std::find(displayList->begin(), displayList->end(), name) == displayList->end()) {
        displayList->push_back(name);
    }
    return 1;
}

BOOL ImportSettings(std::vector<std::string>* displayList, std::string* displayName) {
    // The dialog opens on the installation directory's settings files; with
    // no installation directory known, on the dialogs' own directory.
    char buffer[MAX_PATH];
    DWORD size = sizeof buffer;
    ReadSaverValue("LumoraDir", SaverKeyWord, nullptr, buffer, &size);
    buffer[MAX_PATH - 1] = '\0';
    std::string initial = buffer[0] != '\0' ? std::string(buffer) + "/" + SettingsMask : SettingsMask;
    if (initial.size() >= MAX_PATH) initial = SettingsMask;
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, initial.c_str(), initial.size() + 1);

    if (!ChooseFile(buffer, SettingsMask, FALSE)) return 0;

    const DWORD attributes = GetFileAttributesA(buffer);
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_DIRECTORY) {
        return ImportSettingsFile(displayList, buffer, displayName);
    }
    for (const std::string& file : SelectedFiles(buffer, sizeof buffer)) {
        ImportSettingsFile(displayList, file.c_str(), displayName);
    }
    return 1;
}
