// Stands in for the settings sheet until the program supplies its own
// configuration entry; the program's definition takes its place.
#include "platform/screensaver/screensaver.h"
#include "platform/ui/ui.h"

__attribute__((weak)) BOOL ScreenSaverConfigureDialog(HWND, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    MessageBoxA(nullptr, "The settings sheet is not built yet.", "Lumora", MB_OK | MB_ICONINFORMATION);
    return TRUE;
}
