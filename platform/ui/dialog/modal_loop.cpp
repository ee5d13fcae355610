#include "platform/ui/dialog/modal_loop.h"

#include <optional>

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include "platform/screensaver/message_queue.h"

namespace platform::dialog {

namespace {

// The WM_QUIT taken while a modal loop ran, to be posted again after it.
std::optional<int> takenQuit;

void DrainPosted() {
    if (std::optional<int> code = saver::DrainQueue()) {
        takenQuit = code;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(0);
        }
    }
}

}  // namespace

void RunModalLoop(QDialog* dialog) {
    // The saver window's loop drains the queue itself; otherwise the first
    // modal loop of the thread does.
    bool ownWaker = !saver::OnWindowThread();
    if (ownWaker) {
        saver::InstallWaker([] { QMetaObject::invokeMethod(qApp, DrainPosted, Qt::QueuedConnection); });
    }
    QPointer<QDialog> guard(dialog);
    guard->exec();
    if (ownWaker) {
        saver::RemoveWaker();
        if (takenQuit) {
            int code = *takenQuit;
            takenQuit.reset();
            PostQuitMessage(code);
        }
    }
}

}  // namespace platform::dialog
