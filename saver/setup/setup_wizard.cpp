// The wizard: its entry, its pages and what their buttons do.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/desktop/desktop.h"
#include "saver/resources/resource_ids.h"
#include "saver/resources/resources.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/setup/setup.h"
#include "saver/sound/versions.h"

char SourceDirectory[MAX_PATH] = {};
char DestinationDirectory[MAX_PATH] = {};
SetupStarter SetupStartProgram = WinExec;

namespace {

struct PageEntry {
    const char* title;
    const char* dialogTemplate;
};

constexpr PageEntry Pages[SetupPageCount] = {
    {"Directory", "DLGDIRECTORY"},
    {"Options", "DLGINSTALL"},
    {"Configure", "DLGCONFIGURE"},
};

bool HasSetupName(std::string path) {
    for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return path.find("SETUP.EXE") != std::string::npos;
}

// The part of a path up to and including its last separator.
std::size_t FolderLength(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* backslash = std::strrchr(path, '\\');
    const char* last = slash > backslash ? slash : backslash;
    return last ? static_cast<std::size_t>(last - path) + 1 : 0;
}

void SetResult(HWND page, LONG_PTR result) { SetWindowLongPtrA(page, DWLP_MSGRESULT, result); }

void Browse(HWND page) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = page;
    ofn.lpstrFilter = "All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = "Select Destination Directory";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return;
    // The chosen file only points at its folder.
    std::size_t folder = FolderLength(file);
    if (folder == 0) return;
    file[folder > 1 ? folder - 1 : folder] = '\0';
    SetDlgItemTextA(page, IdDestination, file);
}

// Next on the Directory page: the folder is made when missing and must then
// be a directory; a path naming a file is refused.
bool AcceptDestination(HWND page) {
    GetDlgItemTextA(page, IdDestination, DestinationDirectory, MAX_PATH);
    CreateDirectoryA(DestinationDirectory, nullptr);
    DWORD attributes = GetFileAttributesA(DestinationDirectory);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    MessageBoxA(page, DestinationDirectory, "Invalid directory name!", MB_OK | MB_ICONSTOP);
    return false;
}

void ShowOptions(HWND page) {
    CheckDlgButton(page, IdSetDefaultSaver, BST_CHECKED);
    CheckDlgButton(page, IdAddLauncher, BST_CHECKED);
    CheckDlgButton(page, IdAddConfigCopy, BST_UNCHECKED);
    CheckDlgButton(page, IdAddSavedSettings, BST_UNCHECKED);
    std::string analyser = std::string(SourceDirectory) + "Tonalyx.EXE";
    bool present = GetFileAttributesA(analyser.c_str()) != INVALID_FILE_ATTRIBUTES;
    CheckDlgButton(page, IdInstallAnalyser, present ? BST_CHECKED : BST_UNCHECKED);
    ShowWindow(GetDlgItem(page, IdInstallAnalyser), present ? SW_SHOW : SW_HIDE);
}

// Test Drive, and Configure where the desktop has no screen-saver settings,
// start the installed saver's own sheet without waiting.
void StartInstalledSaver() {
    char saver[MAX_PATH];
    if (!SaverPath(saver, sizeof saver)) return;
    // Quoted: the platform root may hold blanks.
    std::string command = "\"" + std::string(saver) + "\" /C";
    if (SetupStartProgram(command.c_str(), SW_SHOWNORMAL) < 32) MessageBeep(0);
}

// The desktop's screen-saver settings are xscreensaver's, where it is
// installed: that is where the saver is chosen and timed.
void OpenScreenSaverSettings() {
    for (const char* settings : {"xscreensaver-settings", "xscreensaver-demo"}) {
        std::string program = platform::FindProgram(settings);
        if (program.empty()) continue;
        if (SetupStartProgram(("\"" + program + "\"").c_str(), SW_SHOWNORMAL) < 32) MessageBeep(0);
        return;
    }
    StartInstalledSaver();
}

INT_PTR Notify(HWND page, const NMHDR* header) {
    auto index = static_cast<int>(GetWindowLongPtrA(page, GWLP_USERDATA));
    HWND sheet = PropSheet_Parent(page);
    switch (header->code) {
    case PSN_SETACTIVE:
        if (index == SetupPageDirectory) PropSheet_SetWizButtons(sheet, PSWIZB_NEXT);
        if (index == SetupPageOptions) {
            ShowOptions(page);
            PropSheet_SetWizButtons(sheet, PSWIZB_BACK | PSWIZB_NEXT);
        }
        if (index == SetupPageConfigure) PropSheet_SetWizButtons(sheet, PSWIZB_FINISH);
        SetResult(page, 0);
        return TRUE;
    case PSN_WIZNEXT: {
        bool proceed = true;
        if (index == SetupPageDirectory) proceed = AcceptDestination(page);
        if (index == SetupPageOptions) proceed = InstallProduct(page) != FALSE;
        SetResult(page, proceed ? 0 : -1);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

BOOL SetupRequested() {
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length > 0 && length < sizeof program && HasSetupName(program)) return TRUE;
    // Started through a link named Setup.EXE, the module is the link's target.
    return HasSetupName(platform::CommandLineWords()[0]) ? TRUE : FALSE;
}

void OpenSetup() {
    InitCommonControls();
    platform::SetProgramResources(&SaverResources());
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length >= sizeof program) length = 0;
    program[FolderLength(program)] = '\0';
    std::snprintf(SourceDirectory, sizeof SourceDirectory, "%s", program);

    DestinationDirectory[0] = '\0';
    ReadSaverValuePrefix("LumoraDir", SaverKeyWord, DestinationDirectory, MAX_PATH - 1);
    if (DestinationDirectory[0] == '\0') {
        const char* home = std::getenv("HOME");
        std::snprintf(DestinationDirectory, sizeof DestinationDirectory, "%s/Lumora", home ? home : "");
    }
}

void DescribeSetupWizard(PROPSHEETHEADERA* header, PROPSHEETPAGEA* pages, char* caption) {
    std::snprintf(caption, 64, "Setup for Lumora v%d.%d.%d", SaverMajorVersion, SaverMinorVersion,
                  SaverBuildNumber);
    for (int i = 0; i < SetupPageCount; ++i) {
        pages[i] = PROPSHEETPAGEA{};
        pages[i].dwSize = sizeof(PROPSHEETPAGEA);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].pszTemplate = Pages[i].dialogTemplate;
        pages[i].pszTitle = Pages[i].title;
        pages[i].pfnDlgProc = SetupPageProc;
        pages[i].lParam = i;
    }
    *header = PROPSHEETHEADERA{};
    header->dwSize = sizeof(PROPSHEETHEADERA);
    header->dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_USEICONID | PSH_NOAPPLYNOW;
    header->pszIcon = MAKEINTRESOURCEA(IconSetup);
    header->pszCaption = caption;
    header->nPages = SetupPageCount;
    header->nStartPage = SetupPageDirectory;
    header->ppsp = pages;
}

INT_PTR SetupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        LPARAM index = description ? description->lParam : 0;
        SetWindowLongPtrA(page, GWLP_USERDATA, index);
        if (index == SetupPageDirectory) SetDlgItemTextA(page, IdDestination, DestinationDirectory);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IdBrowseDestination: Browse(page); return TRUE;
        case IdConfigure: OpenScreenSaverSettings(); return TRUE;
        case IdTestDrive: StartInstalledSaver(); return TRUE;
        default: return FALSE;
        }
    case WM_NOTIFY:
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}

INT_PTR RunSetupWizard() {
    OpenSetup();
    char caption[64];
    PROPSHEETPAGEA pages[SetupPageCount];
    PROPSHEETHEADERA header;
    DescribeSetupWizard(&header, pages, caption);
    INT_PTR result = PropertySheetA(&header);
    if (result < 0)
        MessageBoxA(nullptr, "Setup cannot be shown: there is no display to show it on. Nothing was installed.",
                    "Lumora Setup", MB_OK | MB_ICONSTOP);
    return result > 0 ? 1 : 0;
}
