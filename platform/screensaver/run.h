#pragma once
// A saver run in a window: full screen, preview or embedded.
#include <string>

#include "platform/screensaver/command_line.h"
#include "platform/screensaver/screensaver.h"

class QObject;

namespace platform::saver {

// How long a run ended by a signal waits for the procedure to let WM_CLOSE
// through before the window is destroyed anyway.
constexpr int kSignalGraceMs = 1000;

struct RunHooks {
    // Called on the window thread once the window exists, before WM_CREATE
    // (tests use it to watch the window).
    void (*created)(HWND hwnd, void* context) = nullptr;
    void* context = nullptr;
};

// Needs a QGuiApplication.  Creates the saver window, sends WM_CREATE (a
// result of -1 destroys the window again and ends the run with exit code 1),
// shows the window and runs the Qt loop until the window is destroyed or
// WM_QUIT is taken.  A window still there at the end is destroyed (so the
// program's WM_DESTROY always runs).  Returns the code of the last
// PostQuitMessage, 0 without one, 1 when the window could not be made.
int RunSaverWindow(const Launch& launch, WNDPROC proc, const RunHooks& hooks = {});

}  // namespace platform::saver
