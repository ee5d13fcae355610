#pragma once
// The QApplication behind the message boxes and dialogs.  Programs that show
// their own Qt windows create it themselves; the others (the uninstaller,
// setup questions) get one on the first box.
#include <exception>
#include <future>
#include <type_traits>

#include <QApplication>
#include <QMetaObject>
#include <QThread>

namespace platform {

// Whether an X server answers on DISPLAY; whether a Wayland compositor
// accepts a connection on WAYLAND_DISPLAY (a name in XDG_RUNTIME_DIR or a
// path; "wayland-0" when unset, as for any Wayland client).
bool x11DisplayAnswers();
bool waylandDisplayAnswers();

// Whether the Qt platform that a new QApplication would load can reach a
// display: X11 or Wayland when its server answers; other platforms
// (offscreen, minimal, vnc...) are taken as usable.  Qt aborts the process
// when its platform fails, so this is asked first.
bool qtPlatformUsable();

// The arguments for the one QApplication of the process (Qt keeps them for
// the application's life).  The plug-in is `required` when given, else the
// one QT_QPA_PLATFORM names, else Wayland where a compositor answers on a
// named WAYLAND_DISPLAY and X11 otherwise: the same choice whatever order
// the Qt build would try its plug-ins in, and no failed attempt on a stale
// WAYLAND_DISPLAY.
struct QtArguments {
    int* argc;
    char** argv;
};
QtArguments qtApplicationArguments(const char* required = nullptr);

// True when a QApplication exists, creating one when no application object
// exists yet and the platform is usable.  A QCoreApplication cannot show
// widgets, so with one of those this is false.
bool ensureGuiApplication();

// True when a QApplication exists; never creates one.
bool guiApplicationRunning();

// Widgets live on the application's thread: calls from other threads wait
// for it there (its event loop must be running).
template <class Function>
auto runOnGuiThread(Function&& function) -> decltype(function()) {
    if (QThread::currentThread() == qApp->thread()) return function();
    std::promise<decltype(function())> done;
    auto result = done.get_future();
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            try {
                if constexpr (std::is_void_v<decltype(function())>) {
                    function();
                    done.set_value();
                } else {
                    done.set_value(function());
                }
            } catch (...) {
                done.set_exception(std::current_exception());
            }
        },
        Qt::QueuedConnection);
    return result.get();
}

}  // namespace platform
