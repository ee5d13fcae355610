#include <cstdio>
#include <utility>
#include <vector>

#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/qt_backend.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/qt_windows.h"
#include "platform/ui/ui.h"

namespace platform {

namespace {

QMessageBox::Icon iconFor(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton buttonFor(int answer) {
    switch (answer) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDRETRY: return QMessageBox::Retry;
    case IDYES: return QMessageBox::Yes;
    default: return QMessageBox::No;
    }
}

int execMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(widgetForWindow(request.owner));
    box.setWindowTitle(QString::fromLocal8Bit(request.caption));
    // Texts such as a path or a name in quotes must show as written, never
    // be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromLocal8Bit(request.text));
    box.setIcon(iconFor(request.type));

    std::vector<std::pair<QPushButton*, int>> buttons;
    for (int answer : messageBoxAnswers(request.type)) buttons.emplace_back(box.addButton(buttonFor(answer)), answer);
    std::size_t defaultIndex = (request.type & MB_DEFMASK) >> 8;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first);
    for (auto& [button, answer] : buttons)
        if (answer == dismissAnswer(request.type)) box.setEscapeButton(button);

    if (request.type & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (request.type & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    box.exec();
    for (auto& [button, answer] : buttons)
        if (box.clickedButton() == button) return answer;
    return dismissAnswer(request.type);
}

}  // namespace

int showQtMessageBox(const MessageBoxRequest& request) {
    if (!ensureGuiApplication()) {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        return dismissAnswer(request.type);
    }
    return runOnGuiThread([&] { return execMessageBox(request); });
}

}  // namespace platform
