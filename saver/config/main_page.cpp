// The Main Settings page: the active modules, the run's options and the
// saved displays.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "saver/config/settings_sheet.h"
#include "saver/resources/resource_ids.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"

namespace {

// The list's edit field takes a name of up to 128 characters; a display name
// has at most 127, so a name too long is seen and refused, never cut short.
constexpr int NameLimit = 128;

constexpr DWORD PriorityHigh = 128;
constexpr DWORD PriorityNormal = 32;
constexpr DWORD PriorityLow = 64;
constexpr int TitleTick = 6;
constexpr int MaxTitleSeconds = 120;
constexpr int MaxSpeed = 10;

constexpr char ScratchName[] = "Scratch";

std::string DisplayName(HWND page) {
    char name[NameLimit + 2] = {};
    GetDlgItemTextA(page, IdDisplayList, name, sizeof name);
    return name;
}

// A name the settings store can keep; otherwise the user is told why not.
bool AcceptableName(HWND page, const std::string& name) {
    if (ValidDisplayName(name)) return true;
    MessageBoxA(page,
                "A display name needs 1 to 127 characters, and a backslash (\\) cannot be one of them.\n\n"
                "Please type another name into the Saved Displays box.",
                "Invalid display name", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void WriteActive(const std::string& name) {
    WriteSaverValue("Active", SaverKeyWord, REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
}

// Selects the entry that is exactly this name (without regard to case, as
// display names are compared).
void SelectName(HWND page, const std::string& name) {
    LRESULT index = SendDlgItemMessageA(page, IdDisplayList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name.c_str()));
    if (index >= 0) SendDlgItemMessageA(page, IdDisplayList, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AddName(HWND page, const std::string& name) {
    if (SendDlgItemMessageA(page, IdDisplayList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(name.c_str())) < 0)
        SendDlgItemMessageA(page, IdDisplayList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void SetTrackbar(HWND page, int id, int max, int tick, DWORD position) {
    SendDlgItemMessageA(page, id, TBM_SETRANGEMIN, FALSE, 0);
    SendDlgItemMessageA(page, id, TBM_SETRANGEMAX, FALSE, max);
    SendDlgItemMessageA(page, id, TBM_SETTICFREQ, static_cast<WPARAM>(tick), 0);
    SendDlgItemMessageA(page, id, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

void ShowOptions(HWND page) {
    SetTrackbar(page, IdAnimate, MaxSpeed, 1, Speed);
    SetTrackbar(page, IdTitleTrack, MaxTitleSeconds, TitleTick, SaverOptions.ShowName);
    SetDlgItemInt(page, IdTitleSeconds, SaverOptions.ShowName, FALSE);
    for (int module = 0; module < ModuleCount; ++module)
        CheckDlgButton(page, ModuleCheckIds[module], ActiveModules[module] ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IdPriorityHigh, SaverOptions.Priority == PriorityHigh ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IdPriorityNormal, SaverOptions.Priority == PriorityNormal ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IdPriorityLow, SaverOptions.Priority == PriorityLow ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IdClearFirst, SaverOptions.ClearFirst ? BST_CHECKED : BST_UNCHECKED);
}

void ReadOptions(HWND page) {
    for (int module = 0; module < ModuleCount; ++module)
        ActiveModules[module] = IsDlgButtonChecked(page, ModuleCheckIds[module]) == BST_CHECKED ? 1 : 0;
    // Each checked button overwrites the one before; none keeps the class.
    if (IsDlgButtonChecked(page, IdPriorityHigh) == BST_CHECKED) SaverOptions.Priority = PriorityHigh;
    if (IsDlgButtonChecked(page, IdPriorityNormal) == BST_CHECKED) SaverOptions.Priority = PriorityNormal;
    if (IsDlgButtonChecked(page, IdPriorityLow) == BST_CHECKED) SaverOptions.Priority = PriorityLow;
    SaverOptions.ClearFirst = IsDlgButtonChecked(page, IdClearFirst) == BST_CHECKED ? 1 : 0;
    SaverOptions.ShowName = static_cast<DWORD>(SendDlgItemMessageA(page, IdTitleTrack, TBM_GETPOS, 0, 0));
    Speed = static_cast<DWORD>(SendDlgItemMessageA(page, IdAnimate, TBM_GETPOS, 0, 0));
}

void ShowColourNote(HWND page) {
    HDC screen = GetDC(nullptr);
    int bits = screen ? GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL) : 8;
    if (screen) ReleaseDC(nullptr, screen);
    // A 32-bit screen's count does not fit a DWORD: it shows as the largest.
    DWORD colours = bits >= 32 ? 0xFFFFFFFFu : bits <= 0 ? 1u : static_cast<DWORD>(1u << bits);
    char note[320];
    ColourDepthNote(colours, note, sizeof note);
    SetDlgItemTextA(page, IdColourNote, note);
}

void LoadChosen(HWND page, const std::string& name) {
    LoadDisplay(name.c_str());
    WriteActive(name);
    ShowOptions(page);
    SettingsModified = 0;
}

void MarkModified(HWND page) {
    SettingsModified = 1;
    SetDlgItemTextA(page, IdDisplayList, ScratchName);
}

void SaveSelection(HWND page) {
    ReadOptions(page);
    std::string name = DisplayName(page);
    if (!AcceptableName(page, name)) return;
    AddName(page, name);
    SaveDisplay(name.c_str());
    SettingsModified = 0;
}

void DeleteSelection(HWND page) {
    std::string name = DisplayName(page);
    LRESULT index = SendDlgItemMessageA(page, IdDisplayList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name.c_str()));
    if (index < 0) return;
    SendDlgItemMessageA(page, IdDisplayList, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    DeleteDisplay(name.c_str());
}

void Export(HWND page) {
    std::string name = DisplayName(page);
    if (!AcceptableName(page, name)) return;
    ReadOptions(page);
    SaveDisplay(name.c_str());
    AddName(page, name);
    ExportDisplay(name.c_str());
}

void Import(HWND page) {
    std::vector<std::string> names;
    auto count = static_cast<int>(SendDlgItemMessageA(page, IdDisplayList, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::vector<char> text(static_cast<std::size_t>(SendDlgItemMessageA(page, IdDisplayList, CB_GETLBTEXTLEN, i, 0)) + 1);
        SendDlgItemMessageA(page, IdDisplayList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        names.emplace_back(text.data());
    }
    std::string imported;
    if (!ImportSettings(&names, &imported) || imported.empty()) return;
    AddName(page, imported);
    SelectName(page, imported);
    LoadChosen(page, imported);
}

void SelectionChanged(HWND page) {
    LRESULT index = SendDlgItemMessageA(page, IdDisplayList, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    std::vector<char> name(static_cast<std::size_t>(SendDlgItemMessageA(page, IdDisplayList, CB_GETLBTEXTLEN, index, 0)) + 1);
    SendDlgItemMessageA(page, IdDisplayList, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
    LoadChosen(page, name.data());
}

void Apply(HWND page) {
    ReadOptions(page);
    WriteSaverValue("Speed", SaverKeyWord, REG_DWORD, &Speed, sizeof Speed);
    if (SettingsModified) SaveDisplay(ScratchName);
}

bool ChangesOptions(int id) {
    for (int check : ModuleCheckIds)
        if (id == check) return true;
    return id == IdPriorityHigh || id == IdPriorityNormal || id == IdPriorityLow || id == IdClearFirst;
}

BOOL Command(HWND page, WORD id, WORD code) {
    if (id == IdDisplayList) {
        if (code == CBN_SELCHANGE) SelectionChanged(page);
        return TRUE;
    }
    if (code != BN_CLICKED) return FALSE;
    if (ChangesOptions(id)) {
        MarkModified(page);
        return TRUE;
    }
    switch (id) {
    case IdSaveSelection: SaveSelection(page); return TRUE;
    case IdDeleteSelection: DeleteSelection(page); return TRUE;
    case IdExport: Export(page); return TRUE;
    case IdImport: Import(page); return TRUE;
    case IdTestAll:
        ReadOptions(page);
        TestAllSettings();
        return TRUE;
    case IdHelp: ShowHelp(page, HelpMain); return TRUE;
    default: return FALSE;
    }
}

BOOL Notify(HWND page, const NMHDR* header) {
    switch (header->code) {
    case PSN_SETACTIVE:
        if (SettingsModified) SetDlgItemTextA(page, IdDisplayList, ScratchName);
        ShowColourNote(page);
        return TRUE;
    case PSN_KILLACTIVE: ReadOptions(page); return TRUE;
    case PSN_APPLY: Apply(page); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void ColourDepthNote(DWORD colours, char* text, std::size_t size) {
    if (colours == 256) {
        std::snprintf(text, size, "All screen saver features are fully functional in this video mode.");
        return;
    }
    std::snprintf(text, size,
                  "You are running in a %lu color video mode.  Many animation features are only available in 256 "
                  "color video modes.  To change your video mode, use the 'Display' panel.  Please consult the "
                  "documentation for more information on video modes.",
                  static_cast<unsigned long>(colours));
}

void FillDisplayList(HWND page) {
    DisplayList list;
    ListDisplays(&list, SettingsModified);
    SendDlgItemMessageA(page, IdDisplayList, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : list.names) AddName(page, name);
    // "Scratch" is preferred before it was ever saved: the edit field still
    // names it, so that Save Selection stores the changes under it.
    if (SendDlgItemMessageA(page, IdDisplayList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(list.selection.c_str())) >= 0)
        SelectName(page, list.selection);
    else
        SetDlgItemTextA(page, IdDisplayList, list.selection.c_str());
}

INT_PTR MainPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        MainSettingsPage = page;
        SendDlgItemMessageA(page, IdDisplayList, CB_LIMITTEXT, NameLimit, 0);
        FillDisplayList(page);
        ShowOptions(page);
        char active[NameLimit + 1] = {};
        ReadSaverValuePrefix("Active", SaverKeyWord, active, NameLimit);
        SelectName(page, active);
        return TRUE;
    }
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IdTitleTrack) {
            SetDlgItemInt(page, IdTitleSeconds,
                          static_cast<UINT>(SendDlgItemMessageA(page, IdTitleTrack, TBM_GETPOS, 0, 0)), FALSE);
            SettingsModified = 1;
        }
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(page, HelpMain);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    case WM_DESTROY:
        MainSettingsPage = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}
