#include "platform/ui/dialog/ui_window.h"

#include <algorithm>

#include <QPalette>
#include <QVariant>
#include <QWidget>

#include "platform/gdi/gdi.h"
#include "platform/screensaver/window_table.h"
#include "platform/ui/dialog/text.h"
#include "platform/ui/qt_windows.h"

namespace platform::dialog {

namespace {

// Top-level windows of the layer, owned here until they are destroyed.
// Those still open when the program ends go with the process, as on
// Windows: taking them down among the static objects would reach Qt after
// it has gone.
std::vector<std::unique_ptr<UiWindow>>& TopLevels() {
    static auto* windows = new std::vector<std::unique_ptr<UiWindow>>;
    return *windows;
}

// The framework calls this once WM_DESTROY has been handled: the children
// go next (each with its own WM_DESTROY), then the window itself.
void Destroyed(HWND handle) {
    UiWindow* window = UiWindow::fromHandle(handle);
    if (!window) return;
    std::vector<HWND> children;
    for (const auto& child : window->children()) children.push_back(child->handle());
    for (HWND child : children) DestroyWindow(child);
    if (UiWindow* parent = UiWindow::fromHandle(window->parent())) {
        parent->release(window);
        return;
    }
    auto& windows = TopLevels();
    auto found = std::find_if(windows.begin(), windows.end(), [&](const auto& w) { return w.get() == window; });
    if (found != windows.end()) windows.erase(found);
}

int Positive(int value) { return std::max(1, value); }

// Where a widget keeps the colours it had before its parent coloured it.
constexpr char OwnPalette[] = "lumoraOwnPalette";

QColor ToQColor(COLORREF colour) { return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

}  // namespace

bool WidgetBridge::eventFilter(QObject* watched, QEvent* event) {
    return owner && owner->widgetEvent(watched, event);
}

UiWindow::UiWindow(HWND parent, int id, DWORD style, DWORD exStyle, const QRect& geometry)
    : Window(Positive(geometry.width()), Positive(geometry.height()), nullptr, 0),
      parent_(parent),
      id_(id),
      style_(style),
      exStyle_(exStyle),
      geometry_(geometry) {}

UiWindow::~UiWindow() {
    detach();
    platform::SetWindowProcedure(this, nullptr);
    children_.clear();
    if (bridge_) {
        bridge_->owner = nullptr;
        bridge_->deleteLater();
    }
    forgetWindowWidget(this);
    if (QWidget* widget = widget_.data()) {
        widget->hide();
        widget->deleteLater();
    }
}

UiWindow* UiWindow::fromHandle(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    return dynamic_cast<UiWindow*>(window);
}

LRESULT UiWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    UiWindow* target = fromHandle(window);
    return target ? target->windowProc(message, wParam, lParam) : 0;
}

LRESULT UiWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        setText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        textSet();
        return TRUE;
    case WM_GETTEXT:
        return CopyText(text(), reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text().size());
    default:
        return 0;
    }
}

bool UiWindow::widgetEvent(QObject*, QEvent*) { return false; }

std::string UiWindow::text() const { return widget_ ? FromQt(widget_->windowTitle()) : std::string(); }

void UiWindow::setText(const std::string& text) {
    if (widget_) widget_->setWindowTitle(ToQt(text));
}

void UiWindow::setVisible(bool visible) {
    style_ = visible ? style_ | WS_VISIBLE : style_ & ~WS_VISIBLE;
    if (widget_) widget_->setVisible(visible);
}

void UiWindow::setEnabled(bool enabled) {
    style_ = enabled ? style_ & ~WS_DISABLED : style_ | WS_DISABLED;
    if (widget_) widget_->setEnabled(enabled);
}

void UiWindow::setGeometry(const QRect& geometry) {
    geometry_ = geometry;
    if (widget_) widget_->setGeometry(geometry);
    RECT client = clientRect();
    if (client.right != Positive(geometry.width()) || client.bottom != Positive(geometry.height()))
        resizeClient(Positive(geometry.width()), Positive(geometry.height()));
}

UiWindow* UiWindow::adopt(std::unique_ptr<UiWindow> child) {
    children_.push_back(std::move(child));
    return children_.back().get();
}

BOOL UiWindow::placeAfter(Window* insertAfter) {
    UiWindow* parent = fromHandle(parent_);
    if (!parent || insertAfter == this) return TRUE;
    auto& siblings = parent->children_;
    auto at = [&](const Window* window) {
        return std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == window; });
    };
    bool last = insertAfter == HWND_BOTTOM;
    if (insertAfter != HWND_TOP && !last && at(insertAfter) == siblings.end()) return FALSE;
    auto self = at(this);
    if (self == siblings.end()) return TRUE;
    std::unique_ptr<UiWindow> moved = std::move(*self);
    siblings.erase(self);
    auto place = insertAfter == HWND_TOP ? siblings.begin() : last ? siblings.end() : at(insertAfter) + 1;
    siblings.insert(place, std::move(moved));
    // Qt's focus chain follows the new order (Qt orders only widgets that
    // take the focus).
    QWidget* previous = nullptr;
    for (const auto& sibling : siblings) {
        QWidget* focus = sibling->focusWidget();
        if (!focus || focus->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, focus);
        previous = focus;
    }
    return TRUE;
}

UiWindow* UiWindow::child(int id) const {
    for (const auto& c : children_)
        if (c->id() == id) return c.get();
    return nullptr;
}

void UiWindow::release(UiWindow* child) {
    auto found = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == child; });
    if (found != children_.end()) children_.erase(found);
}

void UiWindow::askColours(UINT message, QWidget* target) {
    // One DC serves every question: it is set back to Windows' defaults
    // before each.
    static HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    auto brush = reinterpret_cast<HBRUSH>(sendToParent(message, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(handle())));
    LOGBRUSH fill{};
    bool coloured = brush && GetObjectA(brush, sizeof fill, &fill) == static_cast<int>(sizeof fill) &&
                    fill.lbStyle == BS_SOLID;
    QVariant own = target->property(OwnPalette);
    if (!coloured) {
        if (own.isValid()) {
            target->setPalette(own.value<QPalette>());
            target->setProperty(OwnPalette, QVariant());
        }
        return;
    }
    if (!own.isValid()) {
        own = QVariant::fromValue(target->palette());
        target->setProperty(OwnPalette, own);
    }
    QPalette palette = own.value<QPalette>();
    // A disabled control keeps its greyed text.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, ToQColor(GetTextColor(dc)));
        palette.setColor(group, QPalette::Base, ToQColor(fill.lbColor));
    }
    // Only a change repaints, so asking from a paint does not paint forever.
    if (palette != target->palette()) target->setPalette(palette);
}

void UiWindow::notifyParent(WORD code) {
    sendToParent(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id_), code), reinterpret_cast<LPARAM>(handle()));
}

LRESULT UiWindow::sendToParent(UINT message, WPARAM wParam, LPARAM lParam) {
    return parent_ ? SendMessageA(parent_, message, wParam, lParam) : 0;
}

void UiWindow::attachWidget(QWidget* widget) {
    widget_ = widget;
    bridge_ = new WidgetBridge(this);
    bridge_->setParent(widget);
    widget->installEventFilter(bridge_);
    widget->setObjectName(QString::number(id_));
    // Tab reaches only the controls with WS_TABSTOP; a click still focuses.
    if (QWidget* focus = focusWidget(); focus && !takesTabFocus() && (focus->focusPolicy() & Qt::TabFocus))
        focus->setFocusPolicy(static_cast<Qt::FocusPolicy>(focus->focusPolicy() & ~Qt::TabFocus));
    if (style_ & WS_CHILD) widget->setGeometry(geometry_);
    widget->setEnabled(isEnabled());
    if (style_ & WS_CHILD) widget->setVisible(isVisible());
    registerWindowWidget(this, widget);
}

UiWindow* Install(std::unique_ptr<UiWindow> window) {
    saver::WindowInfo info;
    info.proc = &UiWindow::Procedure;
    info.destroyed = Destroyed;
    saver::SetWindowInfo(window->handle(), std::move(info));
    if (UiWindow* parent = UiWindow::fromHandle(window->parent())) return parent->adopt(std::move(window));
    TopLevels().push_back(std::move(window));
    return TopLevels().back().get();
}

QWidget* ParentWidget(HWND parent) {
    UiWindow* window = UiWindow::fromHandle(parent);
    return window ? window->widget() : nullptr;
}

}  // namespace platform::dialog
