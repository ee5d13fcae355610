// The program's own part of the screen-saver framework's contract beside the
// saver window's procedure (saver/runtime): its dialogs need no window
// classes of their own.
#include "platform/win32.h"

BOOL RegisterDialogClasses(HINSTANCE) { return TRUE; }
