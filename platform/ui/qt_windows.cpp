#include "platform/ui/qt_windows.h"

#include <map>
#include <mutex>

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
