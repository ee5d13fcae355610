#pragma once
// DefScreenSaverProc measures mouse moves from where the pointer stood when
// the window appeared, or else from the first position seen in the window; a
// window that goes away (or a new one at the same address) starts afresh.
#include "platform/types.h"

namespace platform::saver {

void ForgetMouseOrigin(HWND hwnd);
void SetMouseOrigin(HWND hwnd, POINT point);
// Where the pointer entered the window: the origin unless one is known.
void NoteMouseEntry(HWND hwnd, POINT point);

}  // namespace platform::saver
