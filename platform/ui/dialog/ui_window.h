#pragma once
// The window behind every dialog, page and control handle.  It is a Window
// of the Canvas (so IsWindow, GetDC and the framework's SendMessageA,
// PostMessageA and DestroyWindow know it) and shows itself with one Qt
// widget, which carries the item id as its object name.
//
// A window owns its children.  DestroyWindow sends WM_DESTROY to the window,
// then destroys its children, then frees it; its widget goes at the next
// turn of the event loop, so a window may destroy itself from inside a
// notification of its own widget.
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "platform/gdi/window.h"
#include "platform/ui/dialogs.h"

class QWidget;
class QEvent;

namespace platform::dialog {

class UiWindow;

// Connects a widget's signals and events to its window for as long as the
// window lives: everything connected through the bridge stops at once when
// the window goes, even while the widget waits for deletion.
class WidgetBridge final : public QObject {
public:
    explicit WidgetBridge(UiWindow* owner) : owner(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    UiWindow* owner;
};

class UiWindow : public Window {
public:
    // `geometry` in pixels, relative to the parent's client area (to the
    // screen for a top-level window).
    UiWindow(HWND parent, int id, DWORD style, DWORD exStyle, const QRect& geometry);
    ~UiWindow() override;

    // The live dialog-layer window behind a handle, or null.
    static UiWindow* fromHandle(HWND window);

    HWND handle() { return this; }
    HWND parent() const { return parent_; }
    int id() const { return id_; }
    void setId(int id) { id_ = id; }
    DWORD style() const { return style_; }
    DWORD exStyle() const { return exStyle_; }
    QWidget* widget() const { return widget_.data(); }

    // The window procedure of every window of the layer: finds the window
    // and calls its windowProc.
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // What the window does with a message nobody else handled.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Events of the widget (and of widgets the window watches), through the
    // bridge; true stops the event.
    virtual bool widgetEvent(QObject* watched, QEvent* event);

    virtual std::string text() const;
    virtual void setText(const std::string& text);
    // Called after the text changed through WM_SETTEXT; controls that notify
    // on a change (edits) do it here.
    virtual void textSet() {}

    // Whether the control takes the focus with Tab, and the widget that does.
    virtual bool takesTabFocus() const { return (style_ & WS_TABSTOP) != 0; }
    virtual QWidget* focusWidget() const { return widget(); }
    // Whether the control accepts a mnemonic's focus (statics and group boxes
    // pass theirs on to the next control that does).
    virtual bool isLabel() const { return false; }
    // A label's mnemonic gives the focus to this control.
    virtual void setMnemonicTarget(UiWindow*) {}

    void setVisible(bool visible);
    bool isVisible() const { return (style_ & WS_VISIBLE) != 0; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return (style_ & WS_DISABLED) == 0; }
    // Moves and sizes the widget and the Canvas area behind the handle.
    void setGeometry(const QRect& geometry);
    QRect geometry() const { return geometry_; }

    LONG_PTR userData = 0;

    // Children, in creation order unless SetWindowPos moved one (the tab
    // order).
    UiWindow* adopt(std::unique_ptr<UiWindow> child);
    BOOL placeAfter(Window* insertAfter) override;
    const std::vector<std::unique_ptr<UiWindow>>& children() const { return children_; }
    UiWindow* child(int id) const;
    // Frees a child (already sent its WM_DESTROY).
    void release(UiWindow* child);

    // Asks the parent for the colours `target` paints with (a WM_CTLCOLOR...
    // message with a DC) and gives them to it, or its own colours back when
    // the parent has none.  Controls call it as `target` is about to paint.
    void askColours(UINT message, QWidget* target);

    // Sends WM_COMMAND with the notification code to the parent.
    void notifyParent(WORD code);
    LRESULT sendToParent(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Makes `widget` the window's face: geometry, visibility, enabled state,
    // object name and registration with its handle.  Called once by each
    // kind of window from its constructor.
    void attachWidget(QWidget* widget);
    WidgetBridge* bridge() const { return bridge_; }

private:
    HWND parent_;
    int id_;
    DWORD style_;
    DWORD exStyle_;
    QRect geometry_;
    QPointer<QWidget> widget_;
    WidgetBridge* bridge_ = nullptr;
    std::vector<std::unique_ptr<UiWindow>> children_;
};

// Registers a new window with the framework (its procedure and its
// destruction) and hands it to its parent, or keeps it as a top-level window
// until it is destroyed.
UiWindow* Install(std::unique_ptr<UiWindow> window);

// The parent's widget, for a child's widget to live in.
QWidget* ParentWidget(HWND parent);

}  // namespace platform::dialog
