// The twelve module pages: one procedure, the page parameter names the
// module.  The rows are made from the module's defined slots when the page is
// made; up to ten show at once, a module with slots from 10 on has a second
// sub-page.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "saver/config/control_rows.h"
#include "saver/config/settings_sheet.h"
#include "saver/framework/controls.h"
#include "saver/framework/sources.h"
#include "saver/images/choose_bitmap_file.h"
#include "saver/resources/resource_ids.h"
#include "saver/resources/strings.h"

namespace {

constexpr int RowsPerPage = 10;
constexpr int RowSpacing = 15;
constexpr int OriginX = 80;
constexpr int OriginY = 20;
constexpr int SlideShowOriginY = 47;
// The Slide Show module defines no slots 6 to 8: its Strength row moves up
// into their room.
constexpr int SlideShowStrengthLift = 27;

constexpr char ImportFiltersKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\Graphics Filters\\Import";

int ModuleOf(HWND page) { return static_cast<int>(GetWindowLongPtrA(page, DWLP_USER)); }
ModuleRecord& RecordOf(HWND page) { return ModuleTable[ModuleOf(page)]; }

bool HasSecondPage(const ModuleRecord& record) {
    for (int slot = RowsPerPage; slot < SlotCount; ++slot)
        if (record.defined[slot]) return true;
    return false;
}

// "*.bmp", then the extension of every graphics import filter the system
// has registered.
// Whether the ", "-separated list holds the entry, in any case.
bool ListsFormat(const std::string& list, const std::string& entry) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(", ", start);
        if (end == std::string::npos) end = list.size();
        if (end - start == entry.size() && strncasecmp(list.c_str() + start, entry.c_str(), entry.size()) == 0)
            return true;
        start = end + 2;
    }
    return false;
}

std::string SupportedFormats() {
    std::string formats = "*.bmp";
    HKEY filters = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ImportFiltersKey, 0, KEY_READ, &filters) != ERROR_SUCCESS) return formats;
    for (DWORD index = 0;; ++index) {
        char name[MAX_PATH];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(filters, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY filter = nullptr;
        if (RegOpenKeyExA(filters, name, 0, KEY_READ, &filter) != ERROR_SUCCESS) continue;
        char extensions[40] = {};
        DWORD size = sizeof extensions - 1;
        DWORD type = 0;
        if (RegQueryValueExA(filter, "Extensions", nullptr, &type, reinterpret_cast<LPBYTE>(extensions), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ && extensions[0]) {
            // Filters registered under several names for one type (JPEG and
            // JPG, say) show the type once.
            std::string entry = std::string("*.") + extensions;
            if (!ListsFormat(formats, entry)) formats += ", " + entry;
        }
        RegCloseKey(filter);
    }
    RegCloseKey(filters);
    return formats;
}

void BuildRows(HWND page, int module) {
    const ModuleRecord& record = ModuleTable[module];
    bool slideShow = module == ModuleBitmap;
    int originY = slideShow ? SlideShowOriginY : OriginY;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!record.defined[slot]) continue;
        int y = originY + RowSpacing * (slot % RowsPerPage);
        if (slideShow && slot == StrengthSlot) y -= SlideShowStrengthLift;
        char name[64];
        LoadSaverString(record.stringId[slot], name, sizeof name);
        CreateControlRow(page, slot, OriginX, y, ModuleRowLayout, name, record.soundAllowed[slot],
                         slot < RowsPerPage);
    }
    // The rows come after the template's controls; Tab visits them first,
    // in the order they stand on the page, and then the controls below them.
    for (int id : {IdPageUpDown, IdReset, IdTestModule, IdTestAll, IdHelp})
        SetWindowPos(GetDlgItem(page, id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (slideShow) SetDlgItemTextA(page, IdFormats, SupportedFormats().c_str());
}

void Refresh(HWND page) {
    const ModuleRecord& record = RecordOf(page);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!record.defined[slot]) continue;
        if (static_cast<DWORD>(slot / RowsPerPage) != record.page)
            HideControlRow(page, slot);
        else
            ShowControlRow(page, slot, record.source[slot]);
        SetControlRow(page, slot,
                      RowValues{record.min[slot], record.max[slot], record.value[slot], record.rangeLo[slot],
                                record.rangeHi[slot], record.sense[slot], record.source[slot]});
    }
    bool twoPages = HasSecondPage(record);
    if (twoPages) {
        char label[32];
        std::snprintf(label, sizeof label, "Page %lu of %lu", static_cast<unsigned long>(record.page + 1), 2ul);
        SetDlgItemTextA(page, IdPageLabel, label);
    }
    ShowWindow(GetDlgItem(page, IdPageLabel), twoPages ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(page, IdPageUpDown), twoPages ? SW_SHOW : SW_HIDE);
    if (ModuleOf(page) == ModuleBitmap) SetDlgItemTextA(page, IdFileName, record.path);
}

void Activate(HWND page) {
    const char* name = RecordOf(page).name;
    char text[96];
    std::snprintf(text, sizeof text, "&Test %s Settings", name);
    SetDlgItemTextA(page, IdTestModule, text);
    std::snprintf(text, sizeof text, "&Reset %s Controls", name);
    SetDlgItemTextA(page, IdReset, text);
    std::snprintf(text, sizeof text, " Current settings for the %s module: ", name);
    SetDlgItemTextA(page, IdSettingsGroup, text);
    Refresh(page);
}

void SourceChosen(HWND page) {
    ModuleRecord& record = RecordOf(page);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!record.defined[slot]) continue;
        // A list without a selection (a stored source its list does not
        // offer) leaves its slot's source alone.
        LRESULT chosen = SendDlgItemMessageA(page, RowSource + slot, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) record.source[slot] = static_cast<LONG>(chosen & 0xFF);
    }
    Refresh(page);
    SettingsModified = 1;
}

void TrackbarMoved(HWND page, HWND trackbar) {
    if (CopyTrackbarToEdit(page, trackbar) < 0) return;
    ModuleRecord& record = RecordOf(page);
    for (int s = 0; s < SlotCount; ++s) {
        if (!record.defined[s]) continue;
        RowNumbers numbers = ReadRowTrackbars(page, s);
        record.value[s] = numbers.value;
        record.rangeLo[s] = numbers.rangeLo;
        record.rangeHi[s] = numbers.rangeHi;
    }
    SettingsModified = 1;
}

// A number typed into a value or range edit, held to the slot's limits; the
// edit always ends up showing what is stored.
void NumberEdited(HWND page, int id) {
    int slot = RowSlotOf(id);
    ModuleRecord& record = RecordOf(page);
    if (slot < 0 || !record.defined[slot]) return;
    RowNumbers numbers{record.value[slot], record.rangeLo[slot], record.rangeHi[slot]};
    if (!TakeRowNumber(page, id, record.min[slot], record.max[slot], numbers)) return;
    record.value[slot] = numbers.value;
    record.rangeLo[slot] = numbers.rangeLo;
    record.rangeHi[slot] = numbers.rangeHi;
    SettingsModified = 1;
}

void FileNameEdited(HWND page) {
    ModuleRecord& record = RecordOf(page);
    char name[MAX_PATH] = {};
    GetDlgItemTextA(page, IdFileName, name, sizeof name);
    if (std::strcmp(name, record.path) == 0) return;
    std::memcpy(record.path, name, sizeof record.path);
    SettingsModified = 1;
}

void Browse(HWND page) {
    char chosen[BitmapFileBufferSize + 1] = {};
    if (!ChooseBitmapFile(chosen, RecordOf(page).path, FALSE)) return;
    // Several files come as the folder, then each name: the first is taken.
    std::string path = chosen;
    if (path.size() + 1 < sizeof chosen && chosen[path.size() + 1]) path += std::string("/") + (chosen + path.size() + 1);
    SetDlgItemTextA(page, IdFileName, path.c_str());
    FileNameEdited(page);
}

void SenseStepped(HWND page, int slot, int delta) {
    ModuleRecord& record = RecordOf(page);
    if (!record.defined[slot]) return;
    record.sense[slot] = StepRowSense(page, slot, record.sense[slot], delta);
    SettingsModified = 1;
}

void PageStepped(HWND page, int delta) {
    ModuleRecord& record = RecordOf(page);
    long next = static_cast<long>(record.page) - delta;
    if (next == 0 || next == 1) record.page = static_cast<DWORD>(next);
    Refresh(page);
}

BOOL Command(HWND page, WORD id, WORD code) {
    int module = ModuleOf(page);
    if (code == CBN_SELCHANGE && RowRoleOf(id) == RoleSource) {
        SourceChosen(page);
    } else if (code == EN_KILLFOCUS && id == IdFileName) {
        FileNameEdited(page);
    } else if (code == EN_KILLFOCUS) {
        NumberEdited(page, id);
    } else if (code != BN_CLICKED) {
        return FALSE;
    } else if (id == IdReset) {
        ResetControls(module);
        Refresh(page);
        SettingsModified = 1;
    } else if (id == IdTestModule) {
        TestModuleSettings(module);
    } else if (id == IdTestAll) {
        TestAllSettings();
    } else if (id == IdHelp) {
        ShowHelp(page, static_cast<DWORD>(module));
    } else if (id == IdBrowse) {
        Browse(page);
    } else {
        return FALSE;
    }
    return TRUE;
}

BOOL Notify(HWND page, const NMHDR* header) {
    if (header->code == UDN_DELTAPOS) {
        int delta = reinterpret_cast<const NMUPDOWN*>(header)->iDelta;
        auto id = static_cast<int>(header->idFrom);
        if (id == IdPageUpDown)
            PageStepped(page, delta);
        else if (RowRoleOf(id) == RoleSenseUpDown)
            SenseStepped(page, RowSlotOf(id), delta);
        return TRUE;
    }
    if (header->code != PSN_SETACTIVE) return FALSE;
    Activate(page);
    return TRUE;
}

}  // namespace

INT_PTR ModulePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto module = static_cast<int>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        if (module < 0 || module >= ModuleCount) module = ModuleRandom;
        SetWindowLongPtrA(page, DWLP_USER, module);
        BuildRows(page, module);
        return TRUE;
    }
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
        TrackbarMoved(page, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(page, static_cast<DWORD>(ModuleOf(page)));
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    default:
        return FALSE;
    }
}
