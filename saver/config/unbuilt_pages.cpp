// The Palette and Display pages.  Their controls come with the palette
// settings and the display-mode settings; until then each page says so,
// gives its help topic and ends a test like every page.
#include "saver/config/settings_sheet.h"

namespace {

INT_PTR UnbuiltPage(HWND page, UINT message, WPARAM wParam, DWORD helpTopic) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_HELP:
        ShowHelp(page, helpTopic);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR PalettePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return UnbuiltPage(page, message, wParam, HelpPalette);
}

INT_PTR DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return UnbuiltPage(page, message, wParam, HelpDisplay);
}
