// Calls that reach a window's procedure: dispatching, sending, destroying,
// resizing.
#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/screensaver/message_queue.h"
#include "platform/screensaver/window_table.h"

using namespace platform::saver;

namespace {

// The largest client side SetWindowPos accepts: far beyond any screen, small
// enough that a Canvas of it can be allocated.
constexpr int kMaxClientSide = 16384;

LRESULT callProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::optional<WindowInfo> info = GetWindowInfo(hwnd);
    if (!info || !info->proc) return 0;
    return info->proc(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd || !IsWindow(msg->hwnd)) return 0;
    return callProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT result = 0;
    RunOnWindowThread([&] {
        if (IsWindow(hwnd)) result = callProcedure(hwnd, message, wParam, lParam);
    });
    return result;
}

BOOL DestroyWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::optional<WindowInfo> info = GetWindowInfo(hwnd);
    if (!info) return TRUE;
    // Forgotten first, so a DestroyWindow from inside WM_DESTROY does not
    // send it twice.
    ForgetWindow(hwnd);
    DiscardMessagesFor(hwnd);
    RunOnWindowThread([&] {
        if (info->proc) info->proc(hwnd, WM_DESTROY, 0, 0);
        DiscardMessagesFor(hwnd);
        if (info->destroyed) info->destroyed(hwnd);
    });
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & SWP_NOZORDER) && !hwnd->placeAfter(insertAfter)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (flags & SWP_NOSIZE) return TRUE;
    if (cx <= 0 || cy <= 0 || cx > kMaxClientSide || cy > kMaxClientSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    if (client.right == cx && client.bottom == cy) return TRUE;
    hwnd->resizeClient(cx, cy);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy)));
    return TRUE;
}
