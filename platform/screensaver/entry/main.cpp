// The program's entry: reads the switches and runs the saver, its settings or
// the render mode.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/kernel.h"
#include "platform/screensaver/command_line.h"
#include "platform/screensaver/run.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/x11_parent.h"

namespace {

using platform::saver::Launch;
using platform::saver::RunMode;

std::string programPath() {
    char path[4096] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// Qt ends the process when its platform cannot start, so the display is
// looked for first.  A preview lives inside an X window: it needs X11.
bool displayUsable(bool needX11) {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (needX11) {
        if (!platformName || !*platformName) setenv("QT_QPA_PLATFORM", "xcb", 1);
        return platform::saver::X11DisplayAnswers();
    }
    if (platformName && *platformName && std::strncmp(platformName, "xcb", 3) != 0) return true;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return platform::saver::X11DisplayAnswers() || (!platformName && wayland && *wayland);
}

int runSaver(const Launch& launch) {
    bool needX11 = launch.mode != RunMode::FullScreen;
    if (!displayUsable(needX11)) {
        std::fprintf(stderr, "lumora: no display to run the screen saver on (DISPLAY is not usable)\n");
        return 1;
    }
    // Qt gets only the program name: the saver's own switches are not Qt's.
    static int qtArgc = 1;
    static char qtName[] = "lumora";
    static char* qtArgv[] = {qtName, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    return platform::saver::RunSaverWindow(launch, ScreenSaverProc);
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = programPath();
    Launch launch = platform::saver::ParseCommandLine(argc, argv, path, std::getenv("XSCREENSAVER_WINDOW"));
    platform::saver::SetCommandLineWords(launch.words);
    switch (launch.mode) {
    case RunMode::Render:
        return ScreenSaverRender(argc, argv);
    case RunMode::Password:
        std::printf("Setting a screen-saver password is not supported on Linux: the desktop's screen locker "
                    "asks for the password.\n");
        return 0;
    case RunMode::Invalid:
        std::fprintf(stderr, "lumora: %s\nusage: lumora [/s [file.LUM] | /p id | /c | -window-id id | -root]\n",
                     launch.error.c_str());
        return 1;
    case RunMode::Settings:
    case RunMode::Setup:  // the setup wizard is not built yet: settings as without a switch
        RegisterDialogClasses(nullptr);
        ScreenSaverConfigureDialog(nullptr, WM_INITDIALOG, 0, 0);
        return 0;
    case RunMode::FullScreen:
    case RunMode::Preview:
    case RunMode::Embedded:
        return runSaver(launch);
    }
    return 1;
}
