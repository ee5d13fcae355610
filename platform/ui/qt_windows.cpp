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

}  // namespace platform

HWND GetActiveWindow() {
    if (!platform::guiApplicationRunning()) return nullptr;
    return platform::runOnGuiThread([]() -> HWND {
        QWidget* active = QApplication::activeWindow();
        if (!active) return nullptr;
        platform::WindowWidgets& registered = platform::Registered();
        std::lock_guard lock(registered.mutex);
        for (const auto& [window, widget] : registered.widgets)
            if (widget == active) return window;
        return nullptr;
    });
}
