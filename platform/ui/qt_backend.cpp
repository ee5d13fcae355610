#include "platform/ui/qt_backend.h"

#include <unistd.h>

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "platform/ui/qt_session.h"

namespace platform {

namespace {

class QtUiBackend final : public UiBackend {
public:
    int messageBox(const MessageBoxRequest& request) override { return showQtMessageBox(request); }

    FileDialogAnswer fileDialog(const FileDialogRequest& request) override { return showQtFileDialog(request); }

    // A beep never brings up a GUI of its own.
    void beep(UINT) override {
        if (guiApplicationRunning()) {
            QMetaObject::invokeMethod(qApp, [] { QApplication::beep(); }, Qt::AutoConnection);
        } else if (isatty(STDERR_FILENO)) {
            [[maybe_unused]] ssize_t written = write(STDERR_FILENO, "\a", 1);
        }
    }

    // Qt's desktop services hand the page to xdg-open (or the desktop's own
    // opener); they need an application object but no window.
    bool openDocument(const std::string& path) override {
        if (!ensureGuiApplication()) return false;
        QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
        return runOnGuiThread([&] { return QDesktopServices::openUrl(url); });
    }
};

}  // namespace

UiBackend& qtUiBackend() {
    static QtUiBackend backend;
    return backend;
}

}  // namespace platform
