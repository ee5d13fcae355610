#pragma once
// The Qt face of a top-level dialog or sheet.  Escape and the title bar's
// close button ask the window (as WM_COMMAND IDCANCEL does on Windows)
// instead of closing it; only the window ends itself.  Activation and
// deactivation reach the window as WM_ACTIVATE.
#include <functional>

#include <QDialog>
#include <QEvent>

namespace platform::dialog {

class TopLevelWidget final : public QDialog {
public:
    explicit TopLevelWidget(QWidget* owner) : QDialog(owner) {}

    std::function<void()> onCancel;
    std::function<void(bool active)> onActivate;

    // Ends the dialog's modal loop; the only way it closes.
    void finish() { QDialog::done(0); }

    void reject() override {
        if (onCancel) onCancel();
    }
    void accept() override {}

protected:
    bool event(QEvent* event) override {
        if (onActivate && (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate))
            onActivate(event->type() == QEvent::WindowActivate);
        return QDialog::event(event);
    }
};

}  // namespace platform::dialog
