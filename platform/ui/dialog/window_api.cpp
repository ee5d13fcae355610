// The window functions of Win32 for the windows of the dialog layer.
#include <QApplication>
#include <QWidget>

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/ui/dialog/dialog_window.h"
#include "platform/ui/dialog/text.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/qt_windows.h"

using platform::dialog::DialogWindow;
using platform::dialog::UiWindow;

namespace {

UiWindow* Known(HWND window) {
    UiWindow* found = UiWindow::fromHandle(window);
    if (!found) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return found;
}

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID) {
    // Only child controls: the program's top-level windows are dialogs and
    // the framework's saver window.
    if (!(style & WS_CHILD) || !Known(parent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto id = static_cast<int>(reinterpret_cast<ULONG_PTR>(menu));
    UiWindow* control = platform::dialog::CreateControl(className, parent, id, style, exStyle, windowName,
                                                        QRect(x, y, std::max(0, width), std::max(0, height)));
    if (!control) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return control->handle();
}

BOOL ShowWindow(HWND window, int command) {
    UiWindow* target = Known(window);
    if (!target) return FALSE;
    BOOL wasVisible = target->isVisible() ? TRUE : FALSE;
    target->setVisible(command != static_cast<int>(SW_HIDE));
    return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    UiWindow* target = Known(window);
    if (!target) return FALSE;
    BOOL wasDisabled = target->isEnabled() ? FALSE : TRUE;
    target->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    UiWindow* target = UiWindow::fromHandle(window);
    return target && target->isEnabled() ? TRUE : FALSE;
}

// Visible means this window and every window it lies in.
BOOL IsWindowVisible(HWND window) {
    UiWindow* target = UiWindow::fromHandle(window);
    if (!target) return FALSE;
    for (; target; target = UiWindow::fromHandle(target->parent())) {
        if (!target->isVisible()) return FALSE;
        if (!(target->style() & WS_CHILD)) break;
    }
    return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    return Known(window) ? static_cast<BOOL>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)))
                         : FALSE;
}

int GetWindowTextA(HWND window, LPSTR text, int maxCount) {
    if (text && maxCount > 0) text[0] = '\0';
    if (!Known(window)) return 0;
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(std::max(0, maxCount)),
                                         reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND window) {
    return Known(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

HWND GetParent(HWND window) {
    UiWindow* target = Known(window);
    return target ? target->parent() : nullptr;
}

HWND SetFocus(HWND window) {
    HWND previous = GetFocus();
    if (UiWindow* target = Known(window))
        if (QWidget* focus = target->focusWidget()) focus->setFocus(Qt::OtherFocusReason);
    return previous;
}

// The window whose widget (or a part of it, such as a combo box's edit
// field) has the keyboard focus.
HWND GetFocus() {
    if (!platform::guiApplicationRunning()) return nullptr;
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (HWND window = platform::windowForWidget(widget)) return window;
    return nullptr;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    UiWindow* target = Known(window);
    if (!target) return FALSE;
    if (target->style() & WS_CHILD) {
        target->setGeometry(QRect(x, y, std::max(0, width), std::max(0, height)));
    } else if (QWidget* widget = target->widget()) {
        widget->move(x, y);
        widget->resize(std::max(1, width), std::max(1, height));
    }
    return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    UiWindow* target = Known(window);
    if (!target || !rect) return FALSE;
    QWidget* widget = target->widget();
    if (!widget) return FALSE;
    QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    *rect = RECT{origin.x(), origin.y(), origin.x() + widget->width(), origin.y() + widget->height()};
    return TRUE;
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    UiWindow* target = Known(window);
    if (!target) return 0;
    auto* dialog = dynamic_cast<DialogWindow*>(target);
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_USERDATA: old = target->userData; target->userData = value; return old;
    case GWLP_ID: old = target->id(); target->setId(static_cast<int>(value)); return old;
    default: break;
    }
    if (!dialog) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    switch (index) {
    case DWLP_MSGRESULT: old = dialog->messageResult; dialog->messageResult = value; return old;
    case DWLP_USER: old = dialog->user; dialog->user = value; return old;
    case DWLP_DLGPROC:
        old = reinterpret_cast<LONG_PTR>(dialog->procedure());
        dialog->setProcedure(reinterpret_cast<DLGPROC>(value));
        return old;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    UiWindow* target = Known(window);
    if (!target) return 0;
    if (index == GWLP_USERDATA) return target->userData;
    if (index == GWLP_ID) return target->id();
    auto* dialog = dynamic_cast<DialogWindow*>(target);
    if (!dialog) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    switch (index) {
    case DWLP_MSGRESULT: return dialog->messageResult;
    case DWLP_USER: return dialog->user;
    case DWLP_DLGPROC: return reinterpret_cast<LONG_PTR>(dialog->procedure());
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

BOOL SetForegroundWindow(HWND window) {
    UiWindow* target = Known(window);
    QWidget* widget = target ? target->widget() : nullptr;
    if (!widget) return FALSE;
    QWidget* top = widget->window();
    if (top->isMinimized()) top->showNormal();
    top->raise();
    top->activateWindow();
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    UiWindow* target = Known(window);
    if (!target) return FALSE;
    if (QWidget* widget = target->widget()) widget->update();
    // Children that paint themselves over the parent (a list's view) follow.
    for (const auto& child : target->children()) InvalidateRect(child->handle(), nullptr, FALSE);
    return TRUE;
}

// Paints the window and its children now, for code that works on the GUI
// thread without returning to the event loop (a progress bar moving).
BOOL UpdateWindow(HWND window) {
    UiWindow* target = Known(window);
    QWidget* widget = target ? target->widget() : nullptr;
    if (!widget) return FALSE;
    widget->repaint();
    return TRUE;
}

// The common control classes are always there.
void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
