#include "platform/ui/qt_session.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include <X11/Xlib.h>

namespace platform {

namespace {

bool waylandDisplayNamed() {
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    const char* handed = std::getenv("WAYLAND_SOCKET");
    return (socket && *socket) || (handed && *handed);
}

bool platformUsable(std::string_view name) {
    if (name == "xcb") return x11DisplayAnswers();
    if (name.starts_with("wayland")) return waylandDisplayAnswers();
    return !name.empty();
}

bool platformRequested() {
    const char* requested = std::getenv("QT_QPA_PLATFORM");
    return requested && *requested;
}

}  // namespace

bool x11DisplayAnswers() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    Display* connection = XOpenDisplay(nullptr);
    if (!connection) return false;
    XCloseDisplay(connection);
    return true;
}

bool waylandDisplayAnswers() {
    // A socket handed over by the compositor that started us is taken as
    // answering: it can be used only once, by Qt.
    const char* handed = std::getenv("WAYLAND_SOCKET");
    if (handed && *handed) return true;
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) name = "wayland-0";
    std::string path = name;
    if (name[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime) return false;
        path = std::string(runtime) + "/" + name;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // A compositor too busy to accept at once still listens.
    bool answers = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 || errno == EAGAIN;
    close(fd);
    return answers;
}

bool qtPlatformUsable() {
    if (!platformRequested()) return x11DisplayAnswers() || (waylandDisplayNamed() && waylandDisplayAnswers());
    // "name[:options]", and several of them separated by ';' as fallbacks.
    std::string_view rest(std::getenv("QT_QPA_PLATFORM"));
    while (!rest.empty()) {
        std::string_view entry = rest.substr(0, rest.find(';'));
        rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
        if (platformUsable(entry.substr(0, entry.find(':')))) return true;
    }
    return false;
}

QtArguments qtApplicationArguments(const char* required) {
    static char name[] = "lumora";
    static char option[] = "-platform";
    static char wayland[] = "wayland";
    static char xcb[] = "xcb";
    static char* argv[] = {name, nullptr, nullptr, nullptr};
    static int argc = 1;
    char* plugin = nullptr;
    if (required) {
        plugin = std::string_view(required) == "xcb" ? xcb : wayland;
    } else if (!platformRequested()) {
        if (waylandDisplayNamed() && waylandDisplayAnswers()) {
            plugin = wayland;
        } else if (x11DisplayAnswers()) {
            plugin = xcb;
        }
    }
    argv[1] = plugin ? option : nullptr;
    argv[2] = plugin;
    argc = plugin ? 3 : 1;
    return {&argc, argv};
}

bool guiApplicationRunning() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

bool ensureGuiApplication() {
    static std::mutex creation;
    std::lock_guard lock(creation);
    if (QCoreApplication::instance()) return guiApplicationRunning();
    if (!qtPlatformUsable()) return false;
    QtArguments arguments = qtApplicationArguments();
    // Never destroyed: widgets and Qt's own statics may refer to it until
    // the process ends.
    new QApplication(*arguments.argc, arguments.argv);
    return true;
}

}  // namespace platform
