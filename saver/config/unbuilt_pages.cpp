// The Custom page.  Its controls come with the palette editor; until then the
// page says so, gives its help topic and ends a test like every page.
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

INT_PTR CustomPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return UnbuiltPage(page, message, wParam, HelpCustom);
}
