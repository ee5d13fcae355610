// FindWindowA over the X display.  Each X window found keeps one handle for
// the life of the process; the handle is no window of ours (nothing draws in
// it or sends to its procedure), so only FindWindowA and PostMessageA know it.
#include <map>
#include <memory>
#include <mutex>

#include "platform/kernel/kernel.h"
#include "platform/screensaver/foreign_windows.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/x11_windows.h"

namespace platform::saver {
namespace {

struct ForeignWindow {
    unsigned long id;
};

std::mutex mutex;
std::map<unsigned long, std::unique_ptr<ForeignWindow>> handles;

HWND HandleOf(unsigned long id) {
    auto& entry = handles[id];
    if (!entry) entry = std::make_unique<ForeignWindow>(ForeignWindow{id});
    return reinterpret_cast<HWND>(entry.get());
}

const ForeignWindow* Known(HWND hwnd) {
    for (const auto& [id, window] : handles)
        if (reinterpret_cast<HWND>(window.get()) == hwnd) return window.get();
    return nullptr;
}

}  // namespace

std::optional<BOOL> PostToForeignWindow(HWND hwnd, UINT message) {
    std::lock_guard lock(mutex);
    const ForeignWindow* window = Known(hwnd);
    if (!window) return std::nullopt;
    if (message != WM_CLOSE) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (CloseX11Window(window->id)) return TRUE;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
}

}  // namespace platform::saver

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    using namespace platform::saver;
    if (className && !*className) className = nullptr;
    if (windowName && !*windowName) windowName = nullptr;
    std::lock_guard lock(mutex);
    unsigned long found = FindX11Window(className, windowName);
    return found ? HandleOf(found) : nullptr;
}
