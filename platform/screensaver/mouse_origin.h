#pragma once
// DefScreenSaverProc measures mouse moves from the first position seen in a
// window; a window that goes away (or a new one at the same address) starts
// afresh.
#include "platform/types.h"

namespace platform::saver {

void ForgetMouseOrigin(HWND hwnd);

}  // namespace platform::saver
