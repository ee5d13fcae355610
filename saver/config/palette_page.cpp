// The Palette page: the colour settings of the display in the sheet's palette
// engine, one channel at a time, or all three at once while CTRL is held.
// Its rows are the module pages' rows, one per palette parameter.
#include "saver/config/control_rows.h"
#include "saver/config/settings_sheet.h"
#include "saver/framework/module_record.h"
#include "saver/palette/palette_settings.h"
#include "saver/resources/resource_ids.h"

LONG PaletteChannel = ChannelRed;

namespace {

constexpr int OriginX = 111;
constexpr int OriginY = 22;
constexpr int RowSpacing = 15;
constexpr int EffectCount = 7;

constexpr int ChannelIds[ChannelCount] = {IdChannelRed, IdChannelGreen, IdChannelBlue};
// The page's numbers and lists are written in the colour of the channel
// they belong to.
constexpr COLORREF ChannelInk[ChannelCount] = {RGB(128, 0, 0), RGB(0, 128, 0), RGB(0, 0, 128)};

PaletteSettings& Settings() { return *CurrentPalette; }

int Channel() { return PaletteChannel >= ChannelRed && PaletteChannel <= ChannelBlue ? PaletteChannel : ChannelRed; }

// The channels a change goes to: the one shown, or all three with CTRL held.
struct Channels {
    int first;
    int last;
};
Channels ChangedChannels() {
    if (GetKeyState(VK_CONTROL) < 0) return {ChannelRed, ChannelBlue};
    return {Channel(), Channel()};
}

void BuildRows(HWND page) {
    for (int row = 0; row < PaletteParameterCount; ++row)
        CreateControlRow(page, row, OriginX, OriginY + RowSpacing * row, PaletteRowLayout, nullptr,
                         Settings().dynamicAllowed[row], TRUE);
    // Tab visits the channel buttons, the rows in their order, then the
    // effects and the buttons below them.
    for (int id : EffectIds)
        SetWindowPos(GetDlgItem(page, id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int id : {IdTestAll, IdHelp})
        SetWindowPos(GetDlgItem(page, id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ShowRow(HWND page, int row) {
    const PaletteSettings& settings = Settings();
    int channel = Channel();
    ShowControlRow(page, row, settings.source[row][channel]);
    SetControlRow(page, row,
                  RowValues{settings.limitMin[row], settings.limitMax[row], settings.value[row][channel],
                            settings.rangeLo[row][channel], settings.rangeHi[row][channel],
                            settings.sense[row][channel], settings.source[row][channel]});
}

void ShowChannel(HWND page) {
    int channel = Channel();
    for (int c = 0; c < ChannelCount; ++c)
        CheckDlgButton(page, ChannelIds[c], c == channel ? BST_CHECKED : BST_UNCHECKED);
    for (int row = 0; row < PaletteParameterCount; ++row) ShowRow(page, row);
    for (int effect = 0; effect < EffectCount; ++effect)
        CheckDlgButton(page, EffectIds[effect], effect == Settings().effect[channel] ? BST_CHECKED : BST_UNCHECKED);
    // The numbers and lists take the new channel's colour.
    InvalidateRect(page, nullptr, TRUE);
}

void SourceChosen(HWND page, int row) {
    LRESULT chosen = SendDlgItemMessageA(page, RowSource + row, CB_GETCURSEL, 0, 0);
    if (chosen >= 0) {
        Channels changed = ChangedChannels();
        for (int c = changed.first; c <= changed.last; ++c) Settings().source[row][c] = static_cast<LONG>(chosen & 0xFF);
    }
    ShowRow(page, row);
}

void TrackbarMoved(HWND page, HWND trackbar) {
    int row = CopyTrackbarToEdit(page, trackbar);
    if (row < 0 || row >= PaletteParameterCount) return;
    RowNumbers numbers = ReadRowTrackbars(page, row);
    Channels changed = ChangedChannels();
    for (int c = changed.first; c <= changed.last; ++c) {
        Settings().value[row][c] = numbers.value;
        Settings().rangeLo[row][c] = numbers.rangeLo;
        Settings().rangeHi[row][c] = numbers.rangeHi;
    }
    SettingsModified = 1;
}

// Typing edits the shown channel only, whatever the keyboard says.
void NumberEdited(HWND page, int id) {
    int row = RowSlotOf(id);
    RowRole role = RowRoleOf(id);
    if (row < 0 || row >= PaletteParameterCount || (role != RoleValueEdit && role != RoleLowEdit && role != RoleHighEdit))
        return;
    PaletteSettings& settings = Settings();
    int channel = Channel();
    RowNumbers numbers{settings.value[row][channel], settings.rangeLo[row][channel], settings.rangeHi[row][channel]};
    TakeRowNumber(page, id, settings.limitMin[row], settings.limitMax[row], numbers);
    settings.value[row][channel] = numbers.value;
    settings.rangeLo[row][channel] = numbers.rangeLo;
    settings.rangeHi[row][channel] = numbers.rangeHi;
    SettingsModified = 1;
}

void SenseStepped(HWND page, int row, int delta) {
    if (row < 0 || row >= PaletteParameterCount) return;
    PaletteSettings& settings = Settings();
    LONG sense = StepRowSense(page, row, settings.sense[row][Channel()], delta);
    Channels changed = ChangedChannels();
    for (int c = changed.first; c <= changed.last; ++c) settings.sense[row][c] = sense;
    SettingsModified = 1;
}

BOOL Clicked(HWND page, int id) {
    for (int c = 0; c < ChannelCount; ++c) {
        if (id != ChannelIds[c]) continue;
        PaletteChannel = c;
        ShowChannel(page);
        SettingsModified = 1;
        return TRUE;
    }
    for (int effect = 0; effect < EffectCount; ++effect) {
        if (id != EffectIds[effect]) continue;
        Channels changed = ChangedChannels();
        for (int c = changed.first; c <= changed.last; ++c) Settings().effect[c] = effect;
        SettingsModified = 1;
        return TRUE;
    }
    if (id == IdTestAll) {
        TestAllSettings();
        return TRUE;
    }
    if (id == IdHelp) {
        ShowHelp(page, HelpPalette);
        return TRUE;
    }
    return FALSE;
}

BOOL Command(HWND page, WORD id, WORD code) {
    if (code == CBN_SELCHANGE && RowRoleOf(id) == RoleSource) {
        int row = RowSlotOf(id);
        if (row >= PaletteParameterCount) return FALSE;
        SourceChosen(page, row);
        SettingsModified = 1;
        return TRUE;
    }
    if (code == EN_KILLFOCUS) {
        NumberEdited(page, id);
        return TRUE;
    }
    return code == BN_CLICKED ? Clicked(page, id) : FALSE;
}

BOOL Notify(HWND page, const NMHDR* header) {
    if (header->code == UDN_DELTAPOS && RowRoleOf(static_cast<int>(header->idFrom)) == RoleSenseUpDown) {
        SenseStepped(page, RowSlotOf(static_cast<int>(header->idFrom)),
                     reinterpret_cast<const NMUPDOWN*>(header)->iDelta);
        return TRUE;
    }
    if (header->code != PSN_SETACTIVE) return FALSE;
    ShowChannel(page);
    return TRUE;
}

// The edits (the read-only sense edit included) and the lists are written in
// the channel's colour on white.
INT_PTR ChannelColours(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORSTATIC && RowRoleOf(GetDlgCtrlID(control)) != RoleSenseEdit) return FALSE;
    SetTextColor(dc, ChannelInk[Channel()]);
    return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

}  // namespace

INT_PTR PalettePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!CurrentPalette) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        BuildRows(page);
        return TRUE;
    case WM_COMMAND:
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
        TrackbarMoved(page, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return Notify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        return ChannelColours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HELP:
        ShowHelp(page, HelpPalette);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    default:
        return FALSE;
    }
}
