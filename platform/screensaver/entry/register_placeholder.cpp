// The program may register window classes for its dialogs; it has none to
// register until it supplies its own.
#include "platform/screensaver/screensaver.h"

__attribute__((weak)) BOOL RegisterDialogClasses(HINSTANCE) { return TRUE; }
