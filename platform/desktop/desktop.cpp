#include "platform/desktop/desktop.h"

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/desktop/xscreensaver_file.h"
#include "platform/kernel/atomic_file.h"
#include "platform/kernel/root.h"
#include "platform/registry/registry.h"

extern char** environ;

namespace platform {
namespace {

namespace fs = std::filesystem;

// The derived files update-mime-database writes beside "packages".
constexpr const char* MimeDatabaseFiles[] = {"XMLnamespaces", "aliases", "generic-icons", "globs",
                                             "globs2",        "icons",   "magic",         "mime.cache",
                                             "subclasses",    "treemagic", "types",       "version"};
constexpr char DesktopDatabaseFile[] = "mimeinfo.cache";

// Notes: the folders made for the files, one a line; the xscreensaver edit.
constexpr char FoldersNote[] = "DesktopFolders";
constexpr char EntryNote[] = "XScreenSaverEntry";
constexpr char ModeNote[] = "XScreenSaverMode";
constexpr char SelectedNote[] = "XScreenSaverSelected";
constexpr char OurSelectedNote[] = "XScreenSaverOurSelected";
constexpr char ListNote[] = "XScreenSaverList";
constexpr char FileNote[] = "XScreenSaverFile";

bool ReadNote(const char* key, const char* name, std::string& value) {
    HKEY open = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &open) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(open, name, nullptr, &type, nullptr, &size);
    std::string data(size, '\0');
    if (status == ERROR_SUCCESS && size > 0)
        status = RegQueryValueExA(open, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(open);
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    data.resize(std::min<std::size_t>(size, data.size()));
    if (!data.empty() && data.back() == '\0') data.pop_back();
    value = data;
    return true;
}

void WriteNote(const char* key, const char* name, const std::string& value) {
    HKEY open = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &open, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(open, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(open);
}

void DeleteNotes(const char* key, std::initializer_list<const char*> names) {
    HKEY open = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &open) != ERROR_SUCCESS) return;
    for (const char* name : names) RegDeleteValueA(open, name);
    RegCloseKey(open);
}

std::vector<std::string> NotedFolders(const char* key) {
    std::string note;
    std::vector<std::string> folders;
    if (!ReadNote(key, FoldersNote, note)) return folders;
    std::istringstream lines(note);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) folders.push_back(line);
    return folders;
}

// Runs the tool on the folder, quietly, and waits for it; nothing when the
// tool is not installed.
void RunTool(const char* tool, const std::string& folder) {
    std::string program = FindProgram(tool);
    if (program.empty()) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    std::string name = tool;
    std::string argument = folder;
    char* argv[] = {name.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

bool HoldsFileEndingIn(const fs::path& folder, const std::string& suffix) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return true;
    }
    return false;
}

// After a removal: the databases rebuilt, or dropped with their last package
// or entry, so that a tree that had none has none again.
void RefreshAfterRemoval(const fs::path& data) {
    std::error_code ec;
    const fs::path mime = data / "mime";
    if (fs::is_directory(mime)) {
        RunTool("update-mime-database", mime.string());
        if (!HoldsFileEndingIn(mime / "packages", ".xml"))
            for (const char* file : MimeDatabaseFiles) fs::remove(mime / file, ec);
        // The tool keeps the folder of a media type whose last type went.
        for (const auto& entry : fs::directory_iterator(mime, ec))
            if (entry.is_directory() && entry.path().filename() != "packages") rmdir(entry.path().c_str());
    }
    const fs::path applications = data / "applications";
    if (fs::is_directory(applications)) {
        if (HoldsFileEndingIn(applications, ".desktop")) RunTool("update-desktop-database", applications.string());
        else fs::remove(applications / DesktopDatabaseFile, ec);
    }
}

std::string XScreenSaverFile() { return HomeDirectory() + "/.xscreensaver"; }

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

// Whole or not at all: a crash or a full disk leaves the user's file as it
// was; a link (a managed dot file) is written through.
bool WriteText(const std::string& path, const std::string& text) {
    AtomicFile file;
    std::string error;
    if (!file.open(path, &error)) return false;
    file.write(text.data(), text.size());
    return file.commit(&error);
}

}  // namespace

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path || name.empty() || name.find('/') != std::string::npos) return {};
    std::istringstream folders(path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) return candidate;
    }
    return {};
}

bool AddDesktopFiles(const std::vector<DesktopFile>& files, const char* noteKey) {
    const fs::path data = DataHome();
    std::vector<std::string> made = NotedFolders(noteKey);
    bool written = true;
    std::error_code ec;
    for (const DesktopFile& file : files) {
        const fs::path path = data / file.path;
        std::vector<fs::path> missing;
        for (fs::path folder = path.parent_path(); !folder.empty() && !fs::exists(folder, ec);
             folder = folder.parent_path())
            missing.push_back(folder);
        fs::create_directories(path.parent_path(), ec);
        for (const fs::path& folder : missing)
            if (std::find(made.begin(), made.end(), folder.string()) == made.end()) made.push_back(folder.string());
        written = WriteText(path.string(), file.contents) && written;
    }
    std::string note;
    for (const std::string& folder : made) note += folder + "\n";
    if (!note.empty()) WriteNote(noteKey, FoldersNote, note);
    if (fs::is_directory(data / "mime" / "packages")) RunTool("update-mime-database", (data / "mime").string());
    if (fs::is_directory(data / "applications"))
        RunTool("update-desktop-database", (data / "applications").string());
    return written;
}

void RemoveDesktopFiles(const std::vector<std::string>& paths, const char* noteKey) {
    const fs::path data = DataHome();
    std::error_code ec;
    for (const std::string& path : paths) fs::remove(data / path, ec);
    RefreshAfterRemoval(data);
    // Deepest first, so that a folder emptied by its child's removal goes too.
    std::vector<std::string> made = NotedFolders(noteKey);
    std::sort(made.begin(), made.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : made) rmdir(folder.c_str());
    DeleteNotes(noteKey, {FoldersNote});
}

bool AddScreenSaverProgram(const std::string& entry, const char* noteKey) {
    if (entry.empty()) return false;
    RemoveScreenSaverProgram(noteKey);
    const std::string path = XScreenSaverFile();
    std::string text;
    const bool existed = ReadText(path, text);
    xscreensaver::ProgramEdit edit;
    if (!xscreensaver::AddProgram(text, entry, edit) || !WriteText(path, text)) return false;
    WriteNote(noteKey, EntryNote, edit.entry);
    WriteNote(noteKey, ModeNote, edit.modeBefore);
    WriteNote(noteKey, SelectedNote, edit.selectedBefore);
    WriteNote(noteKey, OurSelectedNote, edit.selectedOurs);
    WriteNote(noteKey, ListNote, edit.addedList ? "1" : "0");
    WriteNote(noteKey, FileNote, existed ? "0" : "1");
    return true;
}

void RemoveScreenSaverProgram(const char* noteKey) {
    xscreensaver::ProgramEdit edit;
    if (!ReadNote(noteKey, EntryNote, edit.entry)) return;
    std::string list;
    std::string made;
    ReadNote(noteKey, ModeNote, edit.modeBefore);
    ReadNote(noteKey, SelectedNote, edit.selectedBefore);
    ReadNote(noteKey, OurSelectedNote, edit.selectedOurs);
    ReadNote(noteKey, ListNote, list);
    ReadNote(noteKey, FileNote, made);
    edit.addedList = list == "1";
    const std::string path = XScreenSaverFile();
    std::string text;
    if (ReadText(path, text)) {
        const std::string before = text;
        xscreensaver::RemoveProgram(text, edit);
        if (made == "1" && text.find_first_not_of(" \t\r\n") == std::string::npos) std::remove(path.c_str());
        else if (text != before) WriteText(path, text);
    }
    DeleteNotes(noteKey, {EntryNote, ModeNote, SelectedNote, OurSelectedNote, ListNote, FileNote});
}

}  // namespace platform
