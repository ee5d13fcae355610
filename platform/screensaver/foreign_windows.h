#pragma once
// Windows of other programs, found by FindWindowA on the X display.
#include <optional>

#include "platform/types.h"

namespace platform::saver {

// PostMessageA for a handle FindWindowA returned: WM_CLOSE asks the window to
// close as a window manager does.  Nothing when the handle is no such window.
std::optional<BOOL> PostToForeignWindow(HWND hwnd, UINT message);

}  // namespace platform::saver
