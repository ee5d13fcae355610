#include "platform/screensaver/run.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <atomic>
#include <cstdio>

#include "platform/gdi/gdi.h"
#include "platform/screensaver/cursor.h"
#include "platform/screensaver/message_queue.h"
#include "platform/screensaver/mouse_origin.h"
#include "platform/screensaver/saver_surface.h"
#include "platform/screensaver/saver_window.h"
#include "platform/screensaver/termination.h"
#include "platform/screensaver/window_table.h"

namespace platform::saver {

namespace {

const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Lives on the window thread; a posted event makes it drain the message queue.
class QueueDrainer final : public QObject {
public:
    QueueDrainer() {
        InstallWaker([this] {
            if (!wakePending_.exchange(true)) QCoreApplication::postEvent(this, new QEvent(kDrainEvent));
        });
    }
    ~QueueDrainer() override { RemoveWaker(); }

    bool event(QEvent* event) override {
        if (event->type() != kDrainEvent) return QObject::event(event);
        wakePending_ = false;
        if (std::optional<int> quit = DrainQueue()) QCoreApplication::exit(*quit);
        return true;
    }

private:
    std::atomic<bool> wakePending_{false};
};

}  // namespace

int RunSaverWindow(const Launch& launch, WNDPROC proc, const RunHooks& hooks) {
    // What the platform reports as the screen is the real one (until a
    // virtual display mode is set).
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
        platform::SetScreenSize(pixels.width(), pixels.height());
    }
    bool embedded = launch.mode == RunMode::Preview || launch.mode == RunMode::Embedded;
    std::string error;
    std::unique_ptr<SaverWindow> window = SaverWindow::Create(embedded ? launch.windowId : 0, embedded, &error);
    if (!window) {
        std::fprintf(stderr, "lumora: %s\n", error.c_str());
        return 1;
    }
    HWND hwnd = window.get();
    ResetQueue();
    bool destroyed = false;
    WindowInfo info;
    info.proc = proc;
    info.preview = window->preview();
    info.destroyed = [&destroyed, &window](HWND) {
        destroyed = true;
        window->surface()->hide();
        QCoreApplication::exit(0);
    };
    SetWindowInfo(hwnd, info);
    // Moves count from where the pointer stands now, so the first real move
    // after start (say, after a display-mode switch) is measured rather than
    // taken as the starting point.  Wayland tells no client where the
    // pointer is until it enters one of its windows: there the window's
    // enter position is the origin.
    if (window->fullScreen() && !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QPoint pointer = QCursor::pos() - QGuiApplication::primaryScreen()->geometry().topLeft();
        SetMouseOrigin(hwnd, POINT{pointer.x(), pointer.y()});
    }

    QueueDrainer drainer;
    SaverSurface* surface = window->surface();
    SetCursorListener([surface](bool visible) {
        QMetaObject::invokeMethod(surface, [surface, visible] {
            if (visible) {
                surface->unsetCursor();
            } else {
                surface->setCursor(Qt::BlankCursor);
            }
        });
    });
    int cursorBefore = CursorCount();
    if (window->fullScreen()) ShowCursor(FALSE);

    // A signal asks through WM_CLOSE; a procedure that holds it back gets a
    // short grace, then the window goes anyway, so the program's clean-up
    // (threads, display mode, test display) always runs.
    QTimer graceTimer;
    graceTimer.setSingleShot(true);
    QObject::connect(&graceTimer, &QTimer::timeout, [hwnd] { DestroyWindow(hwnd); });
    TerminationSignals termination([hwnd, &graceTimer](int count) {
        if (count == 1) {
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            graceTimer.start(kSignalGraceMs);
        } else {
            DestroyWindow(hwnd);
        }
    });

    if (hooks.created) hooks.created(hwnd, hooks.context);
    int result = 0;
    if (SendMessageA(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        result = 1;
    } else {
        window->show();
        if (!destroyed) QCoreApplication::exec();
        if (!destroyed) DestroyWindow(hwnd);
        result = QuitCode().value_or(0);
    }

    SetCursorListener(nullptr);
    SetCursorCount(cursorBefore);
    ForgetWindow(hwnd);
    return result;
}

}  // namespace platform::saver
