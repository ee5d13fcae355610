// The mouse capture, and the cursor position in screen and client
// coordinates.  While a window holds the capture, an application-wide filter
// turns every mouse event into the window's own mouse messages, so a drag
// that leaves the window still reaches it, as on Windows.
#include <optional>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "platform/ui/dialog/mouse.h"
#include "platform/ui/dialog/ui_window.h"
#include "platform/ui/qt_session.h"

using platform::dialog::UiWindow;

namespace platform::dialog {

namespace {

std::optional<QPoint> LastCursor;

class CaptureFilter final : public QObject {
public:
    HWND window = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Each event passes the window system's window and then the widget:
        // it is taken once, at the widget.
        if (!window || !watched->isWidgetType()) return false;
        UINT message;
        switch (event->type()) {
        case QEvent::MouseMove: message = WM_MOUSEMOVE; break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: message = WM_LBUTTONDOWN; break;
        case QEvent::MouseButtonRelease: message = WM_LBUTTONUP; break;
        default: return false;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (message != WM_MOUSEMOVE && mouse->button() != Qt::LeftButton) return true;
        const QPoint global = mouse->globalPosition().toPoint();
        NoteCursor(global);
        POINT point{global.x(), global.y()};
        ScreenToClient(window, &point);
        const WPARAM buttons = mouse->buttons() & Qt::LeftButton ? MK_LBUTTON : 0;
        SendMessageA(window, message, buttons,
                     MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        return true;
    }
};

CaptureFilter& Filter() {
    static auto* filter = new CaptureFilter;
    return *filter;
}

QWidget* WidgetOf(HWND window) {
    UiWindow* target = UiWindow::fromHandle(window);
    return target ? target->widget() : nullptr;
}

}  // namespace

void NoteCursor(const QPoint& global) { LastCursor = global; }

}  // namespace platform::dialog

using platform::dialog::Filter;

HWND SetCapture(HWND window) {
    HWND previous = GetCapture();
    if (!UiWindow::fromHandle(window) || !platform::guiApplicationRunning()) return previous;
    if (previous == window) return previous;
    if (!previous) qApp->installEventFilter(&Filter());
    Filter().window = window;
    if (previous) SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = GetCapture();
    if (!previous) return TRUE;
    Filter().window = nullptr;
    qApp->removeEventFilter(&Filter());
    SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    HWND window = Filter().window;
    if (window && !UiWindow::fromHandle(window)) {
        // A window destroyed while it held the capture gives it up.
        Filter().window = nullptr;
        if (qApp) qApp->removeEventFilter(&Filter());
        return nullptr;
    }
    return window;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) return FALSE;
    QPoint where = platform::dialog::LastCursor ? *platform::dialog::LastCursor : QCursor::pos();
    *point = POINT{where.x(), where.y()};
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    QWidget* widget = platform::dialog::WidgetOf(window);
    if (!widget || !point) return FALSE;
    QPoint local = widget->mapFromGlobal(QPoint(point->x, point->y));
    *point = POINT{local.x(), local.y()};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    QWidget* widget = platform::dialog::WidgetOf(window);
    if (!widget || !point) return FALSE;
    QPoint global = widget->mapToGlobal(QPoint(point->x, point->y));
    *point = POINT{global.x(), global.y()};
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom
               ? TRUE
               : FALSE;
}
