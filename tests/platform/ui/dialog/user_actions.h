#pragma once
// What a user does to a control, done through the control's widget so that
// the path from Qt's signals and events to the window messages is the one a
// real user takes.  Controls are named by their handles (GetDlgItem).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "platform/ui/qt_windows.h"
#include "platform/win32.h"

namespace useraction {

template <class T>
T* Widget(HWND window) {
    return qobject_cast<T*>(platform::widgetForWindow(window));
}

// Lets Qt deliver what is pending (focus changes, deferred deletions).
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

inline void Click(HWND button) { Widget<QAbstractButton>(button)->click(); }

// Puts the focus in the edit, replaces its text by typing, and leaves it.
inline void Type(HWND edit, const QString& text) {
    auto* line = Widget<QLineEdit>(edit);
    QWidget* target = line ? static_cast<QWidget*>(line) : platform::widgetForWindow(edit);
    target->window()->activateWindow();
    target->setFocus(Qt::MouseFocusReason);
    if (line) line->selectAll();
    QTest::keyClicks(target, text);
    target->clearFocus();
    Settle();
}

// Chooses an item of a combo box as the user's pick does.
inline void Choose(HWND combo, int index) {
    QComboBox* box = Widget<QComboBox>(combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

inline void Key(HWND window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* widget = platform::widgetForWindow(window);
    QTest::keyClick(widget->focusProxy() ? widget->focusProxy() : widget, key, modifiers);
}

// Drags a trackbar's thumb to the position.
inline void Drag(HWND trackbar, int position) {
    QSlider* slider = Widget<QSlider>(trackbar);
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// Presses the up (or down) arrow of an up-down control.
inline void Arrow(HWND updown, bool up) {
    for (QToolButton* button : platform::widgetForWindow(updown)->findChildren<QToolButton*>())
        if (button->arrowType() == (up ? Qt::UpArrow : Qt::DownArrow)) button->click();
}

}  // namespace useraction
