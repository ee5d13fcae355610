// The Palette page.  Its rows of palette parameters come with the palette
// editor; until then the page says so, and ends a test like every page.
#include "saver/config/settings_sheet.h"

INT_PTR PalettePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
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
