#include "platform/ui/qt_session.h"

#include <cstdlib>
#include <mutex>
#include <string_view>

#include <X11/Xlib.h>

namespace platform {

namespace {

bool x11DisplayAnswers() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    Display* connection = XOpenDisplay(nullptr);
    if (!connection) return false;
    XCloseDisplay(connection);
    return true;
}

bool waylandSocketNamed() {
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    return socket && *socket;
}

bool platformUsable(std::string_view name) {
    if (name == "xcb") return x11DisplayAnswers();
    if (name.starts_with("wayland")) return waylandSocketNamed();
    return !name.empty();
}

}  // namespace

bool qtPlatformUsable() {
    const char* requested = std::getenv("QT_QPA_PLATFORM");
    if (!requested || !*requested) return x11DisplayAnswers() || waylandSocketNamed();
    // "name[:options]", and several of them separated by ';' as fallbacks.
    std::string_view rest(requested);
    while (!rest.empty()) {
        std::string_view entry = rest.substr(0, rest.find(';'));
        rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
        if (platformUsable(entry.substr(0, entry.find(':')))) return true;
    }
    return false;
}

bool guiApplicationRunning() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

bool ensureGuiApplication() {
    static std::mutex creation;
    std::lock_guard lock(creation);
    if (QCoreApplication::instance()) return guiApplicationRunning();
    if (!qtPlatformUsable()) return false;
    // Qt keeps argc and argv for the application's whole life.
    static int argc = 1;
    static char name[] = "lumora";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets and Qt's own statics may refer to it until
    // the process ends.
    new QApplication(argc, argv);
    return true;
}

}  // namespace platform
