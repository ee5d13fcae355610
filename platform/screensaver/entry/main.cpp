// The program's entry: reads the switches and runs the saver, its settings or
// the render mode.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/kernel.h"
#include "platform/registry/files.h"
#include "platform/registry/registry.h"
#include "platform/screensaver/command_line.h"
#include "platform/screensaver/run.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/x11_parent.h"
#include "platform/ui/ui.h"

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

const char* unusableHiveReason(LONG status) {
    switch (status) {
    case ERROR_BADDB: return "it is not a registry file of ours, or its header is damaged";
    case ERROR_REGISTRY_CORRUPT: return "its contents are damaged";
    case ERROR_ACCESS_DENIED: return "permission to open it is denied";
    case ERROR_CANTOPEN: return "it cannot be opened";
    default: return nullptr;  // busy or short of space: worth the run trying
    }
}

// A registry file that cannot be used is reported and left exactly as it is;
// the run keeps that hive in memory instead, so it starts from the first-run
// displays rather than showing black.  The report, one line per file, is
// empty when both files are usable.
std::string keepUnusableHivesInMemory() {
    std::string report;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const char* reason = unusableHiveReason(platform::RegistryHiveStatus(root));
        if (!reason) continue;
        report += "The registry file " + platform::RegistryHiveFile(root) + " cannot be used: " + reason +
                  ". It is left untouched; until it is mended or removed, Lumora runs on its first-run "
                  "settings and keeps changes only while it runs.\n";
        platform::KeepRegistryHiveInMemory(root);
    }
    return report;
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
    std::string hiveReport;
    if (launch.mode != RunMode::Invalid && launch.mode != RunMode::Password) {
        hiveReport = keepUnusableHivesInMemory();
        if (!hiveReport.empty()) std::fprintf(stderr, "lumora: %s", hiveReport.c_str());
    }
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
        if (!hiveReport.empty()) MessageBoxA(nullptr, hiveReport.c_str(), "Lumora", MB_OK | MB_ICONWARNING);
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
