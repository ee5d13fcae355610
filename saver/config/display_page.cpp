// The Display page.  Its list of video modes comes with the display-mode
// settings; until then the page says so, and ends a test like every page.
#include "saver/config/settings_sheet.h"

INT_PTR DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_HELP:
        ShowHelp(page, HelpDisplay);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) EndTest();
        return TRUE;
    default:
        return FALSE;
    }
}
