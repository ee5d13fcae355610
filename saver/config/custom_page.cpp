// The Custom page: the user builds the custom colours, the table the Custom
// colour effect cycles through.  The page shows them as a grid through a
// palette of its own, lets the user select a run of entries with the mouse
// and applies the custom colour operations to it, with sliders, channel
// masks, one level of undo, and palette files.
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "saver/config/palette_grid.h"
#include "saver/config/settings_sheet.h"
#include "saver/framework/module_record.h"
#include "saver/images/choose_file.h"
#include "saver/palette/custom_colours.h"
#include "saver/palette/palette_file.h"
#include "saver/resources/resource_ids.h"

namespace {

constexpr int SliderIds[ChannelCount] = {IdRedSlider, IdGreenSlider, IdBlueSlider};
constexpr int MaskIds[ChannelCount] = {IdMaskRed, IdMaskGreen, IdMaskBlue};

// What the page keeps while the settings program runs.
struct CustomPageState {
    HPALETTE palette = nullptr;  // made from the custom colours
    HDC dc = nullptr;            // of the window that was active when the page was made
    HWND dcWindow = nullptr;
    DWORD selection[PaletteEntryCount] = {};
    DWORD mask[ChannelCount] = {};
    PALETTEENTRY backup[PaletteEntryCount] = {};
    int anchor = 0;
    int last = 0;
    bool dragging = false;
    bool pendingCopy = false;
    bool pendingMerge = false;
    int sourceFirst = 0;
    int sourceLast = 0;
    // The slider positions when a slider drag began; red is negative while
    // no drag is under way.
    float reference[ChannelCount] = {-1.0f, 0.0f, 0.0f};
    // Where the page last put the sliders, or where a drag left them: the
    // reference of the next drag.
    int shown[ChannelCount] = {};
};

CustomPageState Page;

PALETTEENTRY* Custom() { return CurrentPalette != nullptr ? CurrentPalette->customColours : nullptr; }

void TakeBackup() {
    if (const PALETTEENTRY* colours = Custom()) std::memcpy(Page.backup, colours, sizeof Page.backup);
}

int SelectedCount() {
    int count = 0;
    for (DWORD flag : Page.selection) count += flag != 0 ? 1 : 0;
    return count;
}

void SelectOnly(int index) {
    std::memset(Page.selection, 0, sizeof Page.selection);
    Page.selection[index] = 1;
}

void SelectRange(int from, int to) {
    std::memset(Page.selection, 0, sizeof Page.selection);
    if (from > to) std::swap(from, to);
    for (int i = from; i <= to; ++i) Page.selection[i] = 1;
}

void RealizePagePalette() {
    if (Page.palette == nullptr || Page.dc == nullptr) return;
    SelectPalette(Page.dc, Page.palette, FALSE);
    RealizePalette(Page.dc);
}

void ShowColours(HWND page) {
    if (const PALETTEENTRY* colours = Custom()) AnimatePalette(Page.palette, 0, PaletteEntryCount, colours);
    InvalidateRect(GetDlgItem(page, IdPaletteGrid), nullptr, FALSE);
}

void MoveSliders(HWND page, const int (&positions)[ChannelCount]) {
    for (int c = 0; c < ChannelCount; ++c) {
        SendDlgItemMessageA(page, SliderIds[c], TBM_SETPOS, TRUE, positions[c]);
        Page.shown[c] = positions[c];
    }
}

// After a selection, an operation or a mask change: the buttons and
// sliders that make sense now, a pending Copy To or Merge To onto the new
// selection, and the grid and sliders showing the result.
void Refresh(HWND page) {
    Page.dragging = false;
    if (GetCapture() == page) ReleaseCapture();
    const BOOL several = SelectedCount() > 1 ? TRUE : FALSE;
    EnableWindow(GetDlgItem(page, IdReverse), several);
    EnableWindow(GetDlgItem(page, IdGradient), several);
    for (int c = 0; c < ChannelCount; ++c) EnableWindow(GetDlgItem(page, SliderIds[c]), Page.mask[c] ? FALSE : TRUE);
    if (Page.pendingCopy) {
        CopyColoursTo(Page.palette, Page.backup, Page.sourceFirst, Page.sourceLast, Page.selection, Page.mask[0],
                      Page.mask[1], Page.mask[2]);
        Page.pendingCopy = false;
    }
    if (Page.pendingMerge) {
        MergeColoursTo(Page.palette, Page.backup, Page.sourceFirst, Page.sourceLast, Page.selection, Page.mask[0],
                       Page.mask[1], Page.mask[2]);
        Page.pendingMerge = false;
    }
    InvalidateRect(GetDlgItem(page, IdPaletteGrid), nullptr, FALSE);
    int positions[ChannelCount] = {128, 128, 128};
    if (SelectedCount() == 1) {
        GetColour(Page.palette, FirstSelected(Page.selection), &positions[0], &positions[1], &positions[2]);
    }
    MoveSliders(page, positions);
}

void InitPage(HWND page) {
    Page.palette = CreateCustomPalette();
    Page.dcWindow = GetActiveWindow();
    Page.dc = GetDC(Page.dcWindow);
    RealizePagePalette();
    TakeBackup();
    SelectOnly(0);
    Page.dragging = false;
    Page.reference[0] = -1.0f;
    for (int c = 0; c < ChannelCount; ++c) {
        SendDlgItemMessageA(page, SliderIds[c], TBM_SETRANGE, FALSE, MAKELPARAM(0, 255));
        CheckDlgButton(page, MaskIds[c], Page.mask[c] ? BST_CHECKED : BST_UNCHECKED);
    }
    // The sliders show the selected entry from the start, so that the first
    // slider move changes only its own channel.
    Refresh(page);
}

void ClosePage() {
    if (GetCapture() != nullptr && Page.dragging) ReleaseCapture();
    if (Page.dc != nullptr) {
        SelectPalette(Page.dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(Page.dcWindow, Page.dc);
    }
    if (Page.palette != nullptr) DeleteObject(Page.palette);
    Page.palette = nullptr;
    Page.dc = nullptr;
    Page.dcWindow = nullptr;
}

// The press on the grid: the entry under the mouse becomes the selection
// and the drag begins.
void Press(HWND page, HWND grid) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int hit = DrawPaletteGrid(grid, Page.palette, &cursor, Page.selection);
    Page.anchor = Page.last = hit;
    Page.dragging = true;
    SetCapture(page);
    SelectOnly(hit);
    InvalidateRect(grid, nullptr, FALSE);
}

void Drag(HWND page) {
    HWND grid = GetDlgItem(page, IdPaletteGrid);
    POINT cursor{};
    RECT area{};
    GetCursorPos(&cursor);
    if (!Page.dragging || !GetWindowRect(grid, &area) || !PtInRect(&area, cursor)) return;
    const int hit = DrawPaletteGrid(grid, Page.palette, &cursor, Page.selection);
    if (hit != Page.last) {
        SelectRange(Page.anchor, hit);
        InvalidateRect(grid, nullptr, FALSE);
    }
    Page.last = hit;
}

void DrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    if (item->itemAction == ODA_DRAWENTIRE) {
        DrawPaletteGrid(item->hwndItem, Page.palette, nullptr, Page.selection);
    } else if (item->itemAction == ODA_SELECT && (item->itemState & ODS_SELECTED) && (item->itemState & ODS_FOCUS)) {
        Press(page, item->hwndItem);
    }
}

void SliderMoved(HWND page, WORD code) {
    if (Page.reference[0] < 0.0f) {
        TakeBackup();
        for (int c = 0; c < ChannelCount; ++c) Page.reference[c] = static_cast<float>(Page.shown[c]);
    }
    int position[ChannelCount];
    for (int c = 0; c < ChannelCount; ++c) {
        position[c] = static_cast<int>(SendDlgItemMessageA(page, SliderIds[c], TBM_GETPOS, 0, 0));
    }
    const int first = FirstSelected(Page.selection);
    if (SelectedCount() == 1) {
        SetColour(Page.palette, first, position[0], position[1], position[2], Page.mask[0], Page.mask[1],
                  Page.mask[2]);
    } else if (first >= 0) {
        ScaleColours(Page.palette, first, LastSelected(Page.selection),
                     static_cast<float>(position[0]) / Page.reference[0],
                     static_cast<float>(position[1]) / Page.reference[1],
                     static_cast<float>(position[2]) / Page.reference[2], Page.backup);
    }
    if (code == TB_ENDTRACK) {
        Page.reference[0] = -1.0f;
        for (int c = 0; c < ChannelCount; ++c) Page.shown[c] = position[c];
    }
    InvalidateRect(GetDlgItem(page, IdPaletteGrid), nullptr, FALSE);
    SettingsModified = 1;
}

// The file the open dialog returned: with several chosen, the first.
std::string ChosenFile(const char* buffer) {
    const char* second = buffer + std::strlen(buffer) + 1;
    if (*second == '\0') return buffer;
    return std::string(buffer) + "/" + second;
}

void ImportPalette(HWND page) {
    char file[MAX_PATH] = {};
    if (!ChooseFile(file, "*.PAL", FALSE)) return;
    TakeBackup();
    if (ReadPaletteFile(Page.palette, ChosenFile(file).c_str(), page)) SettingsModified = 1;
    Refresh(page);
}

void ExportPalette(HWND page) {
    char file[MAX_PATH] = "Scratch.PAL";
    if (!ChooseFile(file, "*.PAL", TRUE)) return;
    if (WritePaletteFile(file)) return;
    // Silence here would let the user believe the colours were kept.
    MessageBeep(0);
    std::string text = "The palette could not be written to \"" + std::string(file) + "\".";
    MessageBoxA(page, text.c_str(), "Export Palette", MB_OK | MB_ICONEXCLAMATION);
}

// The operations that change the selection's colours at once.
bool RunOperation(WORD id) {
    const DWORD* s = Page.selection;
    const DWORD r = Page.mask[0];
    const DWORD g = Page.mask[1];
    const DWORD b = Page.mask[2];
    switch (id) {
    case IdRandomColours: {
        // Drawn one after the other: their order is part of the colours a
        // seed gives.
        const LONG redStep = std::rand() & 7;
        const LONG greenStep = std::rand() & 7;
        const LONG blueStep = std::rand() & 7;
        RandomColours(Page.palette, redStep, greenStep, blueStep, r, g, b, s);
        return true;
    }
    case IdGradient: GradientColours(Page.palette, s, r, g, b); return true;
    case IdSmooth: SmoothColours(Page.palette, s, r, g, b); return true;
    case IdShift: RotateChannels(Page.palette, s, r, g, b); return true;
    case IdRough: RoughenColours(Page.palette, s, r, g, b); return true;
    case IdNegative: NegateColours(Page.palette, s, r, g, b); return true;
    case IdReverse: ReverseColours(Page.palette, s, r, g, b); return true;
    default: return false;
    }
}

BOOL Command(HWND page, WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IdRandomColours:
    case IdGradient:
    case IdSmooth:
    case IdShift:
    case IdRough:
    case IdNegative:
    case IdReverse:
        TakeBackup();
        RunOperation(id);
        Refresh(page);
        SettingsModified = 1;
        return TRUE;
    case IdCopyTo:
    case IdMergeTo:
        if (FirstSelected(Page.selection) < 0) return TRUE;
        TakeBackup();
        Page.sourceFirst = FirstSelected(Page.selection);
        Page.sourceLast = LastSelected(Page.selection);
        (id == IdCopyTo ? Page.pendingCopy : Page.pendingMerge) = true;
        SettingsModified = 1;
        return TRUE;
    case IdUndo: {
        if (PALETTEENTRY* colours = Custom()) {
            PALETTEENTRY before[PaletteEntryCount];
            std::memcpy(before, colours, sizeof before);
            RestoreColours(Page.palette, Page.backup);
            std::memcpy(Page.backup, before, sizeof before);
        }
        Refresh(page);
        SettingsModified = 1;
        return TRUE;
    }
    case IdMaskRed:
    case IdMaskGreen:
    case IdMaskBlue: {
        const int channel = id == IdMaskRed ? 0 : id == IdMaskGreen ? 1 : 2;
        Page.mask[channel] = Page.mask[channel] ? 0 : 1;
        Refresh(page);
        return TRUE;
    }
    case IdImportPalette: ImportPalette(page); return TRUE;
    case IdExportPalette: ExportPalette(page); return TRUE;
    case IdTestPalette: TestAllSettings(); return TRUE;
    case IdHelp: ShowHelp(page, HelpCustom); return TRUE;
    default: return FALSE;
    }
}

BOOL Notify(HWND page, const NMHDR* header) {
    if (header->code != PSN_SETACTIVE) return FALSE;
    // The engine or another page may have changed the colours meanwhile.
    ShowColours(page);
    RealizePagePalette();
    return TRUE;
}

}  // namespace

INT_PTR CustomPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitPage(page);
        return TRUE;
    case WM_DESTROY:
        ClosePage();
        return FALSE;
    case WM_DRAWITEM:
        if (wParam != IdPaletteGrid) return FALSE;
        DrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        Drag(page);
        return TRUE;
    case WM_LBUTTONUP:
        Refresh(page);
        return TRUE;
    case WM_HSCROLL:
        SliderMoved(page, LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(page, HelpCustom);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            EndTest();
            RealizePagePalette();
            InvalidateRect(GetDlgItem(page, IdPaletteGrid), nullptr, FALSE);
        }
        return TRUE;
    case WM_PALETTECHANGED:
        // Our own realisation tells everybody too.
        if (reinterpret_cast<HWND>(wParam) != Page.dcWindow) RealizePagePalette();
        return TRUE;
    case WM_QUERYNEWPALETTE:
        RealizePagePalette();
        return TRUE;
    default:
        return FALSE;
    }
}
