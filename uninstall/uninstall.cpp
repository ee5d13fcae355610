#include "uninstall/uninstall.h"

#include <cstdio>

#include "platform/desktop/desktop.h"
#include "platform/win32.h"

namespace {

constexpr char SaverKey[] = "Screen Saver.Lumora";
constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
constexpr char SavedSettingsFolder[] = "LMSC - Saved Settings";

// Step 3, per directory: the launcher, the saver files of earlier releases
// (the eight modules they were named after, each as a single-module saver
// and as its sound edition), then the saver itself.
constexpr const char* SaverFiles[] = {
    "Vexdock.EXE",     "LMBezier.SCR",    "LMCyclic.SCR",    "LMPattern.SCR",   "LMPlasma.SCR",
    "LMPolygon.SCR",   "LMSphere.SCR",    "LMStar.SCR",      "LMVortex.SCR",    "LMBezierS.SCR",
    "LMCyclicS.SCR",   "LMPatternS.SCR",  "LMPlasmaS.SCR",   "LMPolygonS.SCR",  "LMSphereS.SCR",
    "LMStarS.SCR",     "LMVortexS.SCR",   "Lumora.SCR",
};
static_assert(sizeof SaverFiles / sizeof SaverFiles[0] == 18);

constexpr const char* LauncherTitles[] = {"Screen Saver Vexdock", "Screen Saver Vexdock V1.5",
                                          "Screen Saver Vexdock V2.5", "Lumora 2.5 / SS Vexdock"};
constexpr char LauncherClass[] = "SS Vexdock v3.0";

// Step 8, children before parents.
constexpr const char* FileTypeKeys[] = {".LUM",        "Lumora\\shell\\open\\command", "Lumora\\shell\\open",
                                        "Lumora\\shell", "Lumora\\DefaultIcon",           "Lumora"};

// The desktop's files setup wrote, under the user's data folder.
constexpr const char* DesktopFiles[] = {"applications/lumora.desktop", "applications/lumora-display.desktop",
                                        "mime/packages/lumora.xml", "icons/hicolor/scalable/apps/lumora.svg"};

bool Join(char* path, const char* folder, const char* name) {
    int written = std::snprintf(path, MAX_PATH, "%s/%s", folder, name);
    return written > 0 && written < static_cast<int>(MAX_PATH);
}

// Deletes the folder's files of that name.  Windows names files without
// regard to case ("Lumora.SCR" is setup's "LUMORA.SCR"); the search's mask
// matches that way, so each spelling found goes.
void DeleteNamed(const char* folder, const char* name) {
    char mask[MAX_PATH];
    if (!Join(mask, folder, name)) return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(mask, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char path[MAX_PATH];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Join(path, folder, found.cFileName))
            DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}


void RemoveLauncher() {
    char startup[MAX_PATH];
    if (!platform::ReadShellFolder("Startup", startup)) return;
    for (const char* title : LauncherTitles)
        if (HWND window = FindWindowA(nullptr, title)) PostMessageA(window, WM_CLOSE, 0, 0);
    if (HWND window = FindWindowA(LauncherClass, nullptr)) PostMessageA(window, WM_CLOSE, 0, 0);
    // No time limit: the launcher must be gone before its file goes.
    for (const char* title : LauncherTitles)
        while (FindWindowA(nullptr, title)) Sleep(100);
    while (FindWindowA(LauncherClass, nullptr)) Sleep(100);
    DeleteNamed(startup, "Vexdock.EXE");
    // The entry setup wrote so that the session starts the launcher.
    DeleteNamed(startup, "Vexdock.desktop");
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, startup, nullptr);
}

void RemoveConfigurationCopy() {
    char desktop[MAX_PATH];
    char copy[MAX_PATH];
    if (!platform::ReadShellFolder("Desktop", desktop) || !Join(copy, desktop, "LMSC.EXE")) return;
    DeleteNamed(desktop, "LMSC.EXE");
    DeleteNamed(desktop, "LMSC.desktop");
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, copy, nullptr);
}

// The folder goes only with the settings files in it, and only when nothing
// else is left there.
void RemoveSavedSettings() {
    char desktop[MAX_PATH];
    char folder[MAX_PATH];
    char mask[MAX_PATH];
    if (!platform::ReadShellFolder("Desktop", desktop) || !Join(folder, desktop, SavedSettingsFolder) ||
        !Join(mask, folder, "*.LUM"))
        return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(mask, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char path[MAX_PATH];
        if (Join(path, folder, found.cFileName)) DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    RemoveDirectoryA(folder);
}

}  // namespace

int RunUninstall() {
    if (MessageBoxA(nullptr, "Are you sure you want to remove the Lumoric Screen Saver from your system?",
                    "UnInstall", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;

    char system[MAX_PATH];
    char windows[MAX_PATH];
    UINT systemLength = GetSystemDirectoryA(system, MAX_PATH);
    UINT windowsLength = GetWindowsDirectoryA(windows, MAX_PATH);
    for (const char* name : SaverFiles)
        if (systemLength > 0 && systemLength < MAX_PATH) DeleteNamed(system, name);
    for (const char* name : SaverFiles)
        if (windowsLength > 0 && windowsLength < MAX_PATH) DeleteNamed(windows, name);

    char saverKey[MAX_PATH];
    std::snprintf(saverKey, sizeof saverKey, "Control Panel\\%s", SaverKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, saverKey);

    if (MessageBoxA(nullptr, "Do you wish to uninstall the taskbar screen saver launcher?", "UnInstall Vexdock",
                    MB_YESNO | MB_ICONQUESTION) == IDYES)
        RemoveLauncher();
    RemoveConfigurationCopy();
    RemoveSavedSettings();

    // Before the uninstall entry goes: it holds setup's notes of what it changed.
    platform::RemoveDesktopFiles({std::begin(DesktopFiles), std::end(DesktopFiles)}, UninstallKey);
    platform::RemoveScreenSaverProgram(UninstallKey);
    for (const char* key : FileTypeKeys) RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSH, nullptr, nullptr);

    WritePrivateProfileStringA("BOOT", "SCRNSAVE.EXE", "(None)", "SYSTEM.INI");

    return MessageBoxA(nullptr, "The Lumoric Screen Saver has been removed.", "UnInstall Complete",
                       MB_OK | MB_ICONINFORMATION);
}
