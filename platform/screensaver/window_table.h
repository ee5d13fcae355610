#pragma once
// What the framework knows about a window beyond the Canvas: its procedure,
// whether it is a preview (input there belongs to the host, not the saver),
// and what to do once it has been destroyed.
#include <functional>
#include <optional>

#include "platform/screensaver/screensaver.h"

namespace platform::saver {

struct WindowInfo {
    WNDPROC proc = nullptr;
    bool preview = false;
    // Called on the window thread after WM_DESTROY was handled.
    std::function<void(HWND)> destroyed;
};

void SetWindowInfo(HWND hwnd, WindowInfo info);
std::optional<WindowInfo> GetWindowInfo(HWND hwnd);
void ForgetWindow(HWND hwnd);

}  // namespace platform::saver
