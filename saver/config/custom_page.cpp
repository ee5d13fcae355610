// The Custom palette page.  Its palette grid and tools come with the palette
// editor; until then the page says so, and ends a test like every page.
#include "saver/config/settings_sheet.h"

INT_PTR CustomPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_HELP:
        ShowHelp(page, HelpCustom);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    default:
        return FALSE;
    }
}
