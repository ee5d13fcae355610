#include "saver/config/control_rows.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "saver/framework/sources.h"
#include "saver/resources/resource_ids.h"

// Positions from the module pages' origin.  The label sits left of it, as
// high as the row: its text is centred in its height, so it lines up with
// the numbers in the edits.
const RowLayout ModuleRowLayout = {
    true,
    {-70, 0, 66, 12},  // label
    {0, 0, 174, 12},   // value trackbar
    {0, 0, 62, 12},    // range-low trackbar
    {62, 0, 22, 12},   // range-low edit
    {84, 0, 62, 12},   // range-high trackbar
    {146, 0, 22, 12},  // range-high edit
    {169, 0, 27, 12},  // sense edit with up-down
    {174, 0, 22, 12},  // value edit
    {198, 0, 46, 96},  // source list
};

// Positions from the palette page's origin; the captions are the page's.
const RowLayout PaletteRowLayout = {
    false,
    {0, 0, 0, 0},
    {0, 0, 134, 12},   // value trackbar
    {0, 0, 42, 12},    // range-low trackbar
    {42, 0, 22, 12},   // range-low edit
    {64, 0, 42, 12},   // range-high trackbar
    {106, 0, 22, 12},  // range-high edit
    {130, 0, 27, 12},  // sense edit with up-down
    {135, 0, 22, 12},  // value edit
    {158, 0, 46, 96},  // source list
};

namespace {

constexpr int RowBases[] = {RowValueTrack, RowValueEdit, RowSenseUpDown, RowSenseEdit, RowSource,
                            RowLowTrack,   RowHighTrack, RowLowEdit,     RowHighEdit,  RowLabel};
constexpr RowRole RowRoles[] = {RoleValueTrack, RoleValueEdit, RoleSenseUpDown, RoleSenseEdit, RoleSource,
                                RoleLowTrack,   RoleHighTrack, RoleLowEdit,     RoleHighEdit,  RoleLabel};

// Every row control but the name is a bordered child with the client edge;
// the name reads better without a frame round it.
constexpr DWORD Child = WS_CHILD | WS_BORDER;

HWND MakePart(HWND page, LPCSTR className, LPCSTR text, DWORD style, int id, int x, int y, const RowPart& part,
              BOOL visible, DWORD exStyle = WS_EX_CLIENTEDGE) {
    RECT place{x + part.x, y + part.y, x + part.x + part.width, y + part.y + part.height};
    MapDialogRect(page, &place);
    return CreateWindowExA(exStyle, className, text, Child | style | (visible ? WS_VISIBLE : 0), place.left,
                           place.top, place.right - place.left, place.bottom - place.top, page,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

void Show(HWND page, int id, bool shown) {
    if (HWND control = GetDlgItem(page, id)) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void SetTrackbar(HWND page, int id, const RowValues& values, LONG position) {
    HWND trackbar = GetDlgItem(page, id);
    if (!trackbar) return;
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, values.min);
    SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, values.max);
    LONG span = values.max > values.min ? values.max - values.min : 0;
    SendMessageA(trackbar, TBM_SETTICFREQ, static_cast<WPARAM>(span / 24 + 1), 0);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

}  // namespace

RowRole RowRoleOf(int id) {
    for (std::size_t i = 0; i < std::size(RowBases); ++i)
        if (id >= RowBases[i] && id < RowBases[i] + SlotCount) return RowRoles[i];
    return RoleNone;
}

int RowSlotOf(int id) {
    for (int base : RowBases)
        if (id >= base && id < base + SlotCount) return id - base;
    return -1;
}

void FillSourceList(HWND list, BOOL soundAllowed) {
    int count = soundAllowed ? SourceCount : SourceOscillate;
    for (int source = 0; source < count; ++source)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(SourceNames[source]));
}

void CreateControlRow(HWND page, int slot, int x, int y, const RowLayout& layout, const char* name,
                      BOOL soundAllowed, BOOL visible) {
    constexpr DWORD Track = TBS_AUTOTICKS | WS_TABSTOP;
    constexpr DWORD Edit = ES_AUTOHSCROLL | WS_TABSTOP;
    if (layout.hasLabel)
        MakePart(page, "STATIC", name, SS_RIGHT | SS_NOPREFIX, RowLabel + slot, x, y, layout.label, visible, 0);
    MakePart(page, TRACKBAR_CLASSA, "", Track, RowValueTrack + slot, x, y, layout.valueTrack, visible);
    MakePart(page, TRACKBAR_CLASSA, "", Track, RowLowTrack + slot, x, y, layout.lowTrack, FALSE);
    MakePart(page, "EDIT", "", Edit, RowLowEdit + slot, x, y, layout.lowEdit, FALSE);
    MakePart(page, TRACKBAR_CLASSA, "", Track, RowHighTrack + slot, x, y, layout.highTrack, FALSE);
    MakePart(page, "EDIT", "", Edit, RowHighEdit + slot, x, y, layout.highEdit, FALSE);
    // The sense changes by its arrows (and the Up and Down keys) only.
    MakePart(page, "EDIT", "", ES_READONLY | WS_TABSTOP, RowSenseEdit + slot, x, y, layout.sense, FALSE);
    RowPart arrows = layout.sense;
    arrows.width = 0;
    HWND updown = MakePart(page, UPDOWN_CLASSA, nullptr, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
                           RowSenseUpDown + slot, x, y, arrows, FALSE);
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELONG(10, 1));
    MakePart(page, "EDIT", "", Edit, RowValueEdit + slot, x, y, layout.valueEdit, visible);
    HWND list = MakePart(page, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, RowSource + slot, x, y,
                         layout.source, visible);
    FillSourceList(list, soundAllowed);
}

void ShowControlRow(HWND page, int slot, LONG source) {
    bool fixed = source == SourceSet;
    Show(page, RowLabel + slot, true);
    Show(page, RowSource + slot, true);
    Show(page, RowValueTrack + slot, fixed);
    Show(page, RowValueEdit + slot, fixed);
    for (int base : {RowLowTrack, RowHighTrack, RowLowEdit, RowHighEdit, RowSenseEdit, RowSenseUpDown})
        Show(page, base + slot, !fixed);
}

void HideControlRow(HWND page, int slot) {
    for (int base : RowBases) Show(page, base + slot, false);
}

void SetControlRow(HWND page, int slot, const RowValues& values) {
    SetTrackbar(page, RowValueTrack + slot, values, values.value);
    SetTrackbar(page, RowLowTrack + slot, values, values.rangeLo);
    SetTrackbar(page, RowHighTrack + slot, values, values.rangeHi);
    WriteRowNumber(page, RowValueEdit + slot, values.value);
    WriteRowNumber(page, RowLowEdit + slot, values.rangeLo);
    WriteRowNumber(page, RowHighEdit + slot, values.rangeHi);
    WriteRowNumber(page, RowSenseEdit + slot, values.sense);
    SendMessageA(GetDlgItem(page, RowSenseUpDown + slot), UDM_SETPOS, 0, MAKELONG(static_cast<WORD>(values.sense), 0));
    SendDlgItemMessageA(page, RowSource + slot, CB_SETCURSEL, static_cast<WPARAM>(values.source), 0);
}

LONG ReadRowNumber(HWND page, int id, LONG min, LONG max, LONG fallback) {
    char text[64] = {};
    GetDlgItemTextA(page, id, text, sizeof text);
    const char* start = text;
    while (*start == ' ' || *start == '\t') ++start;
    errno = 0;
    char* end = nullptr;
    long long number = std::strtoll(start, &end, 10);
    if (end == start) return fallback;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return fallback;
    // strtoll saturates at its own limits, which lie beyond any control's.
    if (min > max) std::swap(min, max);
    return static_cast<LONG>(std::clamp<long long>(number, min, max));
}

void WriteRowNumber(HWND page, int id, LONG value) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    SetDlgItemTextA(page, id, text);
}

int CopyTrackbarToEdit(HWND page, HWND trackbar) {
    int id = GetDlgCtrlID(trackbar);
    int slot = RowSlotOf(id);
    RowRole role = RowRoleOf(id);
    if (slot < 0 || (role != RoleValueTrack && role != RoleLowTrack && role != RoleHighTrack)) return -1;
    int edit = role == RoleValueTrack ? RowValueEdit : role == RoleLowTrack ? RowLowEdit : RowHighEdit;
    WriteRowNumber(page, edit + slot, static_cast<LONG>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)));
    return slot;
}

RowNumbers ReadRowTrackbars(HWND page, int slot) {
    auto position = [&](int base) { return static_cast<LONG>(SendDlgItemMessageA(page, base + slot, TBM_GETPOS, 0, 0)); };
    return RowNumbers{position(RowValueTrack), position(RowLowTrack), position(RowHighTrack)};
}

bool TakeRowNumber(HWND page, int id, LONG min, LONG max, RowNumbers& numbers) {
    int slot = RowSlotOf(id);
    RowRole role = RowRoleOf(id);
    LONG* stored = role == RoleValueEdit ? &numbers.value
                   : role == RoleLowEdit ? &numbers.rangeLo
                   : role == RoleHighEdit ? &numbers.rangeHi
                                          : nullptr;
    if (slot < 0 || !stored) return false;
    int trackbar = role == RoleValueEdit ? RowValueTrack : role == RoleLowEdit ? RowLowTrack : RowHighTrack;
    LONG typed = ReadRowNumber(page, id, min, max, *stored);
    bool changed = typed != *stored;
    if (changed) {
        *stored = typed;
        SendDlgItemMessageA(page, trackbar + slot, TBM_SETPOS, TRUE, typed);
    }
    WriteRowNumber(page, id, *stored);
    return changed;
}

LONG StepRowSense(HWND page, int slot, LONG sense, int delta) {
    LONG stepped = std::clamp<LONG>(sense + delta, 1, 10);
    WriteRowNumber(page, RowSenseEdit + slot, stepped);
    return stepped;
}
