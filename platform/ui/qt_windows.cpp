#include "platform/ui/qt_windows.h"

#include <map>
#include <mutex>

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include "platform/ui/qt_session.h"
#include "platform/ui/ui.h"

namespace platform {

namespace {

struct WindowWidgets {
    std::mutex mutex;
    std::map<HWND, QPointer<QWidget>> widgets;
};

WindowWidgets& Registered() {
    static WindowWidgets registered;
    return registered;
}

}  // namespace

void registerWindowWidget(HWND window, QWidget* widget) {
    WindowWidgets& registered = Registered();
    std::lock_guard lock(registered.mutex);
    registered.widgets[window] = widget;
}

void forgetWindowWidget(HWND window) {
    WindowWidgets& registered = Registered();
    std::lock_guard lock(registered.mutex);
    registered.widgets.erase(window);
}

QWidget* widgetForWindow(HWND window) {
    if (!window) return nullptr;
    WindowWidgets& registered = Registered();
    std::lock_guard lock(registered.mutex);
    auto it = registered.widgets.find(window);
    return it == registered.widgets.end() ? nullptr : it->second.data();
}

HWND windowForWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    WindowWidgets& registered = Registered();
    std::lock_guard lock(registered.mutex);
    for (const auto& [window, shown] : registered.widgets)
        if (shown == widget) return window;
    return nullptr;
}

}  // namespace platform

HWND GetActiveWindow() {
    if (!platform::guiApplicationRunning()) return nullptr;
    return platform::runOnGuiThread([]() -> HWND { return platform::windowForWidget(QApplication::activeWindow()); });
}

// Qt keeps the modifiers of the latest input event it delivered, which is
// what Windows' key state is: the state as of the message being handled.
SHORT GetKeyState(int virtualKey) {
    if (!platform::guiApplicationRunning()) return 0;
    Qt::KeyboardModifier modifier;
    switch (virtualKey) {
    case 0x10: modifier = Qt::ShiftModifier; break;    // VK_SHIFT
    case 0x11: modifier = Qt::ControlModifier; break;  // VK_CONTROL
    case 0x12: modifier = Qt::AltModifier; break;      // VK_MENU
    default: return 0;
    }
    bool down = platform::runOnGuiThread([modifier] { return (QGuiApplication::keyboardModifiers() & modifier) != 0; });
    return down ? static_cast<SHORT>(0x8000) : 0;
}
