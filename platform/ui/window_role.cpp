// One settings window per platform root across processes.  A lock on a file
// in the root says who holds the role; the kernel drops it when the holder
// ends, however it ends, so a crashed holder never blocks the next one.  A
// local socket carries the request to come to the front.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "platform/kernel/root.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/qt_windows.h"
#include "platform/ui/ui.h"

namespace platform {

namespace {

constexpr char RaiseRequest[] = "raise\n";

struct Role {
    int lockFile = -1;
    std::unique_ptr<QLocalServer> server;
};

std::map<std::string, Role>& Roles() {
    static std::map<std::string, Role> roles;
    return roles;
}

// Socket names live in one directory for every user and root: the user and
// a hash of the root keep them apart.
QString SocketName(const std::string& name) {
    std::size_t root = std::hash<std::string>{}(PlatformRoot());
    return QString("lumora-%1-%2-%3").arg(getuid()).arg(root, 16, 16, QChar('0')).arg(QString::fromStdString(name));
}

std::string LockPath(const std::string& name) { return PlatformRoot() + "/" + name + ".lock"; }

void BringWindowsToFront() {
    QWidget* target = QApplication::activeModalWidget();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible()) continue;
        if (widget->isMinimized()) widget->showNormal();
        widget->raise();
        if (!target && windowForWidget(widget)) target = widget;
    }
    if (target) {
        target->raise();
        target->activateWindow();
    }
}

void Listen(Role& role, const QString& socketName) {
    role.server = std::make_unique<QLocalServer>();
    // A socket file left by a holder that crashed would refuse the listen.
    QLocalServer::removeServer(socketName);
    if (!role.server->listen(socketName)) return;
    QLocalServer* server = role.server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client] {
                if (client->readAll().contains("raise")) BringWindowsToFront();
            });
        }
    });
}

// The holder may be starting up and not listen yet: a few tries.
void AskHolderToFront(const QString& socketName) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(socketName);
        if (socket.waitForConnected(500)) {
            socket.write(RaiseRequest);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace

bool ClaimWindowRole(const char* name) {
    if (!name || !*name) return true;
    // Without an application there is no window to show or to raise.
    if (!ensureGuiApplication()) return true;
    return runOnGuiThread([&] {
        std::string key(name);
        if (Roles().count(key)) return true;
        int file = open(LockPath(key).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (file < 0) return true;  // an unwritable root cannot hold the role: do not refuse the window
        if (flock(file, LOCK_EX | LOCK_NB) != 0) {
            close(file);
            AskHolderToFront(SocketName(key));
            return false;
        }
        Role& role = Roles()[key];
        role.lockFile = file;
        Listen(role, SocketName(key));
        return true;
    });
}

void ReleaseWindowRole(const char* name) {
    if (!name || !guiApplicationRunning()) return;
    runOnGuiThread([&] {
        auto found = Roles().find(name);
        if (found == Roles().end()) return;
        found->second.server.reset();
        close(found->second.lockFile);
        Roles().erase(found);
    });
}

}  // namespace platform
