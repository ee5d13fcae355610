#include "platform/screensaver/window_table.h"

#include "platform/screensaver/mouse_origin.h"

#include <map>
#include <mutex>

namespace platform::saver {

namespace {

std::mutex tableMutex;
std::map<HWND, WindowInfo>& table() {
    static std::map<HWND, WindowInfo> windows;
    return windows;
}

}  // namespace

void SetWindowInfo(HWND hwnd, WindowInfo info) {
    bool added;
    {
        std::lock_guard lock(tableMutex);
        added = table().insert_or_assign(hwnd, std::move(info)).second;
    }
    if (added) ForgetMouseOrigin(hwnd);
}

std::optional<WindowInfo> GetWindowInfo(HWND hwnd) {
    std::lock_guard lock(tableMutex);
    auto found = table().find(hwnd);
    if (found == table().end()) return std::nullopt;
    return found->second;
}

void ForgetWindow(HWND hwnd) {
    {
        std::lock_guard lock(tableMutex);
        table().erase(hwnd);
    }
    ForgetMouseOrigin(hwnd);
}

}  // namespace platform::saver

namespace platform {

void SetWindowProcedure(HWND hwnd, WNDPROC proc) {
    if (!proc) {
        saver::ForgetWindow(hwnd);
        return;
    }
    saver::WindowInfo info = saver::GetWindowInfo(hwnd).value_or(saver::WindowInfo{});
    info.proc = proc;
    saver::SetWindowInfo(hwnd, std::move(info));
}

}  // namespace platform
