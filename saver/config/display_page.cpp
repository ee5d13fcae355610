// The Display page: the video mode the saver runs in, chosen from the modes
// the display driver offers, stored as "DisplayMode" in the saver key, and
// tried out with a test run that puts the stored mode back afterwards.
#include <cstdio>
#include <vector>

#include "saver/config/settings_sheet.h"
#include "saver/resources/resource_ids.h"
#include "saver/runtime/display_mode.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/registry_key.h"

namespace {

constexpr char NoModeChangeNote[] =
    "PLEASE NOTE: On the fly resolution changing is not supported on this system. To get support for this feature "
    "you must have Microsofts DirectX extensions installed. On Linux Lumora carries the display modes in its own "
    "platform layer (its built-in DDRAW module), so installing Lumora again brings them back.";
constexpr char DefaultMode[] = "Default";

// The value as it was before a video-mode test: its type and bytes exactly,
// or its absence.
struct StoredValue {
    bool present = false;
    DWORD type = REG_BINARY;
    std::vector<BYTE> data;
};

struct DisplayPageState {
    // The records behind the list's entries; an entry's item data is its
    // index here.
    std::vector<DisplayMode> modes;
    bool testing = false;
    StoredValue beforeTest;
};
DisplayPageState State;

StoredValue ReadStoredValue() {
    StoredValue stored;
    settings::RegKey key;
    if (key.Open(HKEY_CURRENT_USER, SaverKeyPath(), KEY_READ) != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), DisplayModeValue, nullptr, &stored.type, nullptr, &size) != ERROR_SUCCESS)
        return stored;
    stored.data.resize(size);
    if (RegQueryValueExA(key.get(), DisplayModeValue, nullptr, &stored.type, stored.data.data(), &size) !=
        ERROR_SUCCESS)
        return StoredValue{};
    stored.data.resize(size);
    stored.present = true;
    return stored;
}

bool DeleteStoredMode() {
    settings::RegKey key;
    return key.Open(HKEY_CURRENT_USER, SaverKeyPath(), KEY_SET_VALUE) == ERROR_SUCCESS &&
           RegDeleteValueA(key.get(), DisplayModeValue) == ERROR_SUCCESS;
}

void PutBack(const StoredValue& stored) {
    if (!stored.present) {
        DeleteStoredMode();
        return;
    }
    settings::RegKey key;
    if (key.Open(HKEY_CURRENT_USER, SaverKeyPath(), KEY_SET_VALUE) != ERROR_SUCCESS) return;
    static const BYTE none = 0;
    RegSetValueExA(key.get(), DisplayModeValue, 0, stored.type, stored.data.empty() ? &none : stored.data.data(),
                   static_cast<DWORD>(stored.data.size()));
}

void StoreMode(const DisplayMode& mode) {
    WriteSaverValue(DisplayModeValue, SaverKeyWord, REG_BINARY, mode.bytes.data(), DisplayModeSize);
}

unsigned long ColourCount(DWORD bitsPerPixel) {
    return bitsPerPixel >= 32 ? 4294967295ul : 1ul << bitsPerPixel;
}

// "%lu colors at %dx%d", the form the screen's own numbers take.
void DescribeScreen(DWORD bitsPerPixel, int width, int height, char* text, std::size_t size) {
    std::snprintf(text, size, "%lu colors at %dx%d", ColourCount(bitsPerPixel), width, height);
}

// The colour count is padded by depth, so that the sorted list groups the
// modes by their number of colours.
void DescribeMode(DWORD bitsPerPixel, DWORD width, DWORD height, DWORD frequency, char* text, std::size_t size) {
    const char* format = bitsPerPixel == 8    ? "     %lu"
                         : bitsPerPixel == 15 ? "    %lu"
                         : bitsPerPixel == 16 ? "   %lu"
                         : bitsPerPixel == 24 ? "  %lu"
                         : bitsPerPixel == 32 ? " %lu"
                                              : "%lu";
    char refresh[32];
    if (frequency != 0 && frequency != 1)
        std::snprintf(refresh, sizeof refresh, " %dHz", static_cast<int>(frequency));
    else
        std::snprintf(refresh, sizeof refresh, " (default refresh)");
    char colours[32];
    std::snprintf(colours, sizeof colours, format, ColourCount(bitsPerPixel));
    std::snprintf(text, size, "%s colors at %dx%d%s", colours, static_cast<int>(width), static_cast<int>(height),
                  refresh);
}

void ShowStoredMode(HWND page) {
    DisplayMode mode;
    char text[96];
    if (ReadDisplayMode(&mode))
        DescribeDisplayMode(mode, text, sizeof text);
    else
        std::snprintf(text, sizeof text, "%s", DefaultMode);
    SetDlgItemTextA(page, IdStoredMode, text);
}

void ShowCurrentMode(HWND page) {
    char text[96];
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    DEVMODEA current{};
    current.dmSize = sizeof current;
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwBuildNumber > 1380 &&
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
        DescribeMode(current.dmBitsPerPel, current.dmPelsWidth, current.dmPelsHeight, current.dmDisplayFrequency, text,
                     sizeof text);
    } else {
        HDC screen = GetDC(nullptr);
        DescribeScreen(static_cast<DWORD>(GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL)),
                       GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES), text, sizeof text);
        ReleaseDC(nullptr, screen);
    }
    SetDlgItemTextA(page, IdCurrentMode, text);
}

void AddMode(const DisplayMode& mode, LPVOID context) {
    auto page = static_cast<HWND>(context);
    char text[96];
    DescribeDisplayMode(mode, text, sizeof text);
    LRESULT entry = SendDlgItemMessageA(page, IdModeList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (entry < 0) return;
    SendDlgItemMessageA(page, IdModeList, LB_SETITEMDATA, static_cast<WPARAM>(entry),
                        static_cast<LPARAM>(State.modes.size()));
    State.modes.push_back(mode);
}

void Initialise(HWND page) {
    State.modes.clear();
    if (!InitDirectDraw(GetParent(page), DDSCL_NORMAL)) {
        ReleaseDirectDraw();
        for (int id : {IdSetMode, IdClearMode, IdTestMode}) EnableWindow(GetDlgItem(page, id), FALSE);
        SetDlgItemTextA(page, IdModeNote, NoModeChangeNote);
        return;
    }
    ShowStoredMode(page);
    EnumerateModes(AddMode, page);
    SendDlgItemMessageA(page, IdModeList, LB_SETCURSEL, 0, 0);
    ShowCurrentMode(page);
    ReleaseDirectDraw();
}

// The record of the selected entry, or null when nothing is selected.
const DisplayMode* SelectedMode(HWND page) {
    LRESULT entry = SendDlgItemMessageA(page, IdModeList, LB_GETCURSEL, 0, 0);
    if (entry < 0) return nullptr;
    LRESULT index = SendDlgItemMessageA(page, IdModeList, LB_GETITEMDATA, static_cast<WPARAM>(entry), 0);
    if (index < 0 || static_cast<std::size_t>(index) >= State.modes.size()) return nullptr;
    return &State.modes[static_cast<std::size_t>(index)];
}

void SetClicked(HWND page) {
    const DisplayMode* mode = SelectedMode(page);
    if (!mode) return;
    char text[96];
    DescribeDisplayMode(*mode, text, sizeof text);
    SetDlgItemTextA(page, IdStoredMode, text);
    StoreMode(*mode);
}

void TestClicked(HWND page) {
    const DisplayMode* mode = SelectedMode(page);
    if (!mode) return;
    // A second test before the first ended keeps what was there before both.
    if (!State.testing) State.beforeTest = ReadStoredValue();
    State.testing = true;
    StoreMode(*mode);
    TestAllSettings();
}

// The stored mode goes back to what it was before the test.
void EndModeTest() {
    if (!State.testing) return;
    State.testing = false;
    PutBack(State.beforeTest);
}

BOOL Command(HWND page, WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IdSetMode: SetClicked(page); return TRUE;
    case IdClearMode:
        if (DeleteStoredMode()) SetDlgItemTextA(page, IdStoredMode, DefaultMode);
        return TRUE;
    case IdTestMode: TestClicked(page); return TRUE;
    case IdHelp: ShowHelp(page, HelpDisplay); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void DescribeDisplayMode(const DisplayMode& mode, char* text, std::size_t size) {
    DescribeMode(GetModeField(mode, ModeBitsPerPixel), GetModeField(mode, ModeWidth), GetModeField(mode, ModeHeight),
                 GetModeField(mode, ModeRefreshRate), text, size);
}

INT_PTR DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(page);
        return TRUE;
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_DISPLAYCHANGE: {
        char text[96];
        DescribeScreen(static_cast<DWORD>(wParam), LOWORD(lParam), HIWORD(lParam), text, sizeof text);
        SetDlgItemTextA(page, IdCurrentMode, text);
        return TRUE;
    }
    case WM_HELP:
        ShowHelp(page, HelpDisplay);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            EndTest();
            EndModeTest();
        }
        return TRUE;
    case WM_DESTROY:
        // A sheet closed before the user came back from a test must not keep
        // the tried mode as the stored one.
        EndModeTest();
        State.modes.clear();
        return FALSE;
    default:
        return FALSE;
    }
}
