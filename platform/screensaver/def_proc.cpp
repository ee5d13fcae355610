// The framework's default processing of the saver window's messages.
#include <cstdlib>
#include <mutex>

#include "platform/screensaver/mouse_origin.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/window_table.h"

namespace {

// A mouse move ends the saver when it lands farther than this from the first
// position seen, along either axis: pointer jitter and the synthetic move a
// window gets when it appears stay below it.
constexpr int kMoveTolerance = 3;

struct FirstPosition {
    std::mutex mutex;
    HWND hwnd = nullptr;
    POINT point{};
};

FirstPosition& firstPosition() {
    static FirstPosition first;
    return first;
}

bool movedFar(HWND hwnd, LPARAM lParam) {
    FirstPosition& first = firstPosition();
    std::lock_guard lock(first.mutex);
    POINT now{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (first.hwnd != hwnd) {
        first.hwnd = hwnd;
        first.point = now;
        return false;
    }
    return std::abs(now.x - first.point.x) > kMoveTolerance || std::abs(now.y - first.point.y) > kMoveTolerance;
}

bool isPreview(HWND hwnd) {
    std::optional<platform::saver::WindowInfo> info = platform::saver::GetWindowInfo(hwnd);
    return info && info->preview;
}

void endSaver(HWND hwnd) {
    // Input in a preview belongs to the window hosting it.
    if (!isPreview(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

}  // namespace

namespace platform::saver {

void SetMouseOrigin(HWND hwnd, POINT point) {
    FirstPosition& first = firstPosition();
    std::lock_guard lock(first.mutex);
    first.hwnd = hwnd;
    first.point = point;
}

void NoteMouseEntry(HWND hwnd, POINT point) {
    FirstPosition& first = firstPosition();
    std::lock_guard lock(first.mutex);
    if (first.hwnd == hwnd) return;
    first.hwnd = hwnd;
    first.point = point;
}

void ForgetMouseOrigin(HWND hwnd) {
    FirstPosition& first = firstPosition();
    std::lock_guard lock(first.mutex);
    if (first.hwnd == hwnd) first.hwnd = nullptr;
}

}  // namespace platform::saver

LRESULT DefScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        endSaver(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (movedFar(hwnd, lParam)) endSaver(hwnd);
        return 0;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
        if (LOWORD(wParam) == 0) endSaver(hwnd);
        return 0;
    case WM_CLOSE:
        // "ScreenSaveUsePassword" is not consulted: on Linux the desktop's
        // screen locker asks for the password, not the saver.
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}
