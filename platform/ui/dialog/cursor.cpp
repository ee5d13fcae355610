// The system cursors the program sets while it works: Qt's override cursor
// covers every window of the program, as a cursor set during a long step on
// Win32 does until the step ends.
#include <QApplication>
#include <QCursor>
#include <utility>

#include "platform/kernel/kernel.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/qt_session.h"

struct UiCursor {
    Qt::CursorShape shape;
};

namespace {

UiCursor Arrow{Qt::ArrowCursor};
UiCursor Wait{Qt::WaitCursor};
HCURSOR Shown = nullptr;

}  // namespace

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    if (name == IDC_ARROW) return &Arrow;
    if (name == IDC_WAIT) return &Wait;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    if (!platform::guiApplicationRunning()) return std::exchange(Shown, cursor);
    return platform::runOnGuiThread([cursor] {
        HCURSOR previous = std::exchange(Shown, cursor);
        // The arrow is what the windows show anyway: no override needed.
        bool wanted = cursor && cursor != &Arrow;
        bool overridden = QApplication::overrideCursor() != nullptr;
        if (wanted && overridden) QApplication::changeOverrideCursor(QCursor(cursor->shape));
        if (wanted && !overridden) QApplication::setOverrideCursor(QCursor(cursor->shape));
        if (!wanted && overridden) QApplication::restoreOverrideCursor();
        return previous;
    });
}
