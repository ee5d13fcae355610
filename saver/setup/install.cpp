// The installation proper: the options of the Options page, then the
// product's files, registry values and the uninstall entry.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/xscreensaver_file.h"
#include "saver/images/file_extension.h"
#include "saver/resources/resource_ids.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"
#include "saver/setup/desktop_files.h"
#include "saver/setup/setup.h"

namespace {

constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
constexpr char SavedSettingsFolder[] = "LMSC - Saved Settings";
constexpr char LauncherFile[] = "Vexdock.EXE";

// The launcher's windows of every release: four by title, one by class.
constexpr const char* LauncherTitles[] = {"Screen Saver Vexdock", "Screen Saver Vexdock V1.5",
                                          "Screen Saver Vexdock V2.5", "Lumora 2.5 / SS Vexdock"};
constexpr char LauncherClass[] = "SS Vexdock v3.0";

std::string Join(const char* folder, const char* name) { return std::string(folder) + "/" + name; }

void SetProgress(HWND page, int position) {
    if (!page) return;
    SendDlgItemMessageA(page, IdInstallProgress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    UpdateWindow(PropSheet_Parent(page));
}

void CloseLaunchers() {
    for (const char* title : LauncherTitles)
        if (HWND window = FindWindowA(nullptr, title)) PostMessageA(window, WM_CLOSE, 0, 0);
    if (HWND window = FindWindowA(LauncherClass, nullptr)) PostMessageA(window, WM_CLOSE, 0, 0);
    for (const char* title : LauncherTitles)
        while (FindWindowA(nullptr, title)) Sleep(100);
    while (FindWindowA(LauncherClass, nullptr)) Sleep(100);
}

void InstallLauncher() {
    char startup[MAX_PATH];
    if (!platform::ReadShellFolder("Startup", startup)) return;
    CloseLaunchers();
    if (CopySetupFile(LauncherFile, startup)) {
        std::string launcher = Join(startup, LauncherFile);
        // The session starts programs of the autostart folder from entries.
        platform::WriteDesktopEntry(startup, "Vexdock", "Screen Saver Vexdock", launcher.c_str());
        SetupStartProgram(("\"" + launcher + "\"").c_str(), SW_SHOWNORMAL);
    }
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, startup, nullptr);
}

void AddConfigurationCopy() {
    char desktop[MAX_PATH];
    if (!platform::ReadShellFolder("Desktop", desktop)) return;
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return;
    std::string copy = Join(desktop, "LMSC.EXE");
    if (CopyFileA(program, copy.c_str(), FALSE))
        platform::WriteDesktopEntry(desktop, "LMSC", "Lumora Settings", copy.c_str());
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, copy.c_str(), nullptr);
}

void AddSavedSettings() {
    char desktop[MAX_PATH];
    if (!platform::ReadShellFolder("Desktop", desktop)) return;
    std::string folder = Join(desktop, SavedSettingsFolder);
    CreateDirectoryA(folder.c_str(), nullptr);
    ImportSettingsFiles(nullptr, folder.c_str());
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, desktop, nullptr);
}

void InstallAnalyser() {
    std::string command = "\"" + std::string(SourceDirectory) + "Tonalyx.EXE\" /install";
    SetupStartProgram(command.c_str(), SW_SHOWNORMAL);
}

void MakeDefaultSaver() {
    char saver[MAX_PATH];
    if (!SaverPath(saver, sizeof saver)) return;
    WriteStringValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", saver);
    WritePrivateProfileStringA("BOOT", "SCRNSAVE.EXE", saver, "SYSTEM.INI");
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE);
    // On this desktop the screen saver that runs is xscreensaver's choice.
    platform::AddScreenSaverProgram(platform::xscreensaver::ProgramEntry("Lumora", saver, "-root"), UninstallKey);
}

// Where each of the desktop's files goes under the user's data folder; the
// hack settings are read from xscreensaver's own folder only, which the
// package fills.
constexpr struct {
    const char* name;
    const char* path;
} DesktopFilePlaces[] = {
    {"lumora.desktop", "applications/lumora.desktop"},
    {"lumora-display.desktop", "applications/lumora-display.desktop"},
    {"lumora-mime.xml", "mime/packages/lumora.xml"},
    {"lumora.svg", "icons/hicolor/scalable/apps/lumora.svg"},
};

// The entries start the installed saver rather than a "lumora" on the path.
std::string WithSaverPath(std::string text, const char* saver) {
    const std::string program = "Exec=lumora ";
    for (std::size_t at = 0; (at = text.find(program, at)) != std::string::npos;) {
        if (at > 0 && text[at - 1] != '\n') {
            at += program.size();
            continue;
        }
        std::string replacement = "Exec=" + platform::DesktopExecQuoted(saver) + " ";
        text.replace(at, program.size(), replacement);
        at += replacement.size();
    }
    return text;
}

// The settings program in the menu, settings files opening in the saver.
void AddDesktopEntries(const char* saver) {
    std::vector<platform::DesktopFile> files;
    for (const auto& place : DesktopFilePlaces) {
        for (std::size_t i = 0; i < DesktopDataFilesCount; ++i) {
            const EmbeddedFile& file = DesktopDataFiles[i];
            if (std::strcmp(file.name, place.name) != 0) continue;
            std::string contents(reinterpret_cast<const char*>(file.data), file.size);
            files.push_back({place.path, WithSaverPath(contents, saver)});
        }
    }
    platform::AddDesktopFiles(files, UninstallKey);
}

// The saver, copied over an old one; a second try after the user was asked
// to close old versions that might hold it.
BOOL CopySaver() {
    char program[MAX_PATH] = {};
    char saver[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program || !SaverPath(saver, sizeof saver)) return FALSE;
    BOOL copied = CopyFileA(program, saver, FALSE);
    if (!copied) {
        MessageBoxA(nullptr,
                    "Please close any old versions of the Lumoric Screen Saver that might be running and then "
                    "press OK to continue",
                    "Close old versions", MB_OK);
        Sleep(1000);
        copied = CopyFileA(program, saver, FALSE);
    }
    if (copied) {
        RegisterSettingsFileType(saver);
        AddDesktopEntries(saver);
    }
    return copied;
}

void AddUninstaller() {
    if (!CopySetupFile("UnInstall.EXE", DestinationDirectory)) return;
    std::string command = Join(DestinationDirectory, "UnInstall.EXE");
    WriteStringValue(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", "The Lumoric Screen Saver");
    WriteStringValue(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", command.c_str());
}

void StoreSlogan() {
    std::string path = std::string(SourceDirectory) + "Slogan.TXT";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char slogan[257] = {};
    DWORD read = 0;
    if (!ReadFile(file, slogan, 256, &read, nullptr)) read = 0;
    CloseHandle(file);
    slogan[read < 255 ? read : 255] = '\0';
    WriteStringValue(HKEY_CURRENT_USER, SaverKeyPath().c_str(), "Slogan", slogan);
}

// The product's files and registration; the saver's copy decides success.
BOOL CopyProduct(HWND page) {
    WriteStringValue(HKEY_CURRENT_USER, SaverKeyPath().c_str(), "LumoraDir", DestinationDirectory);
    ImportSettingsFiles(page, DestinationDirectory);
    BOOL result = CopySaver();
    SetProgress(page, 95);
    char windows[MAX_PATH];
    if (GetWindowsDirectoryA(windows, sizeof windows) - 1 < sizeof windows - 1)
        CopySetupFile("LMSCTNX.HLP", windows);
    AddUninstaller();
    SetProgress(page, 97);
    for (const char* name : {LauncherFile, "Setup.EXE", "ReadMe.TXT"}) CopySetupFile(name, DestinationDirectory);
    SetProgress(page, 98);
    for (const char* name : {"File_ID.DIZ", "License.TXT"}) CopySetupFile(name, DestinationDirectory);
    SetProgress(page, 99);
    StoreSlogan();
    return result;
}

}  // namespace

bool SaverPath(char* path, std::size_t size) {
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) return false;
    int written = std::snprintf(path, size, "%s/LUMORA.SCR", system);
    return written > 0 && static_cast<std::size_t>(written) < size;
}

BOOL CopySetupFile(const char* name, const char* folder) {
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
    std::string source = std::string(SourceDirectory) + name;
    return CopyFileA(source.c_str(), Join(folder, name).c_str(), FALSE);
}

void ImportSettingsFiles(HWND page, const char* folder) {
    std::string mask = std::string(SourceDirectory) + "*.LUM";
    WIN32_FIND_DATAA found{};
    int count = 0;
    HANDLE search = FindFirstFileA(mask.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);

    int advanced = 0;
    search = FindFirstFileA(mask.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string path = std::string(SourceDirectory) + found.cFileName;
        std::string display(found.cFileName, FileExtension(found.cFileName));
        ReadSettingsFile(display.c_str(), path.c_str());
        CopySetupFile(found.cFileName, folder);
        // A file added between the count and now must not push the bar past 95.
        if (count > 0) advanced += 90 / count;
        SetProgress(page, 5 + (advanced < 90 ? advanced : 90));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

BOOL InstallProduct(HWND page) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SendDlgItemMessageA(page, IdInstallProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SetProgress(page, 0);
    if (IsDlgButtonChecked(page, IdAddLauncher)) InstallLauncher();
    SetProgress(page, 1);
    if (IsDlgButtonChecked(page, IdAddConfigCopy)) AddConfigurationCopy();
    SetProgress(page, 2);
    if (IsDlgButtonChecked(page, IdAddSavedSettings)) AddSavedSettings();
    SetProgress(page, 3);
    if (IsDlgButtonChecked(page, IdInstallAnalyser)) InstallAnalyser();
    SetProgress(page, 4);
    if (IsDlgButtonChecked(page, IdSetDefaultSaver)) MakeDefaultSaver();
    SetProgress(page, 5);
    BOOL installed = CopyProduct(page);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (!installed) {
        MessageBoxA(page, "Unable to install. Please check to make sure that you have enough disk space (about 1MB).",
                    "Install Problem...", MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    SetProgress(page, 100);
    return TRUE;
}
