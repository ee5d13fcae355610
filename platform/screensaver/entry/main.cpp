// The program's entry: reads the switches and runs the saver, its settings or
// the render mode.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/kernel/kernel.h"
#include "platform/registry/files.h"
#include "platform/registry/registry.h"
#include "platform/screensaver/command_line.h"
#include "platform/screensaver/run.h"
#include "platform/screensaver/screensaver.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/xscreensaver_file.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/ui.h"

namespace {

using platform::saver::Launch;
using platform::saver::RunMode;

constexpr char Usage[] =
    "usage: lumora [/s [FILE.LUM] | /p ID | /c]\n"
    "       lumora -root | -window-id ID [-saved-display NAME]   (as an xscreensaver hack)\n"
    "       lumora --render FILE.png|FILE.gif [--size WxH] [--seconds S] [--fps N]\n"
    "              [--display NAME] [--seed N] [--frames DIR [--every N]]\n"
    "       lumora --add-to-xscreensaver | --remove-from-xscreensaver\n"
    "       lumora --help | --version\n"
    "\n"
    "  /s [FILE.LUM]   run full screen; with a settings file, show it as a test display\n"
    "  /p ID, /l ID    run as a preview inside the X window ID (decimal or 0x hex)\n"
    "  /c              open the settings program (also with no switch at all)\n"
    "  -root           run full screen, or in XSCREENSAVER_WINDOW when xscreensaver sets it\n"
    "  -window-id ID   run inside the X window ID\n"
    "  -saved-display NAME\n"
    "                  with /s, /p, -root or -window-id: show the saved display NAME\n"
    "                  instead of the active one, which stays the active one\n"
    "                  Other xscreensaver options (-fps, -install, -visual V, -nice N,\n"
    "                  -delay N, -display D, ...) are accepted and ignored.\n"
    "  --render FILE   draw the active display in virtual time and write the last frame\n"
    "                  (PNG) or the whole run (GIF, --fps pictures a second, 15 by default):\n"
    "    --size WxH        the picture's size (640x480)\n"
    "    --seconds S       how long the run lasts (10)\n"
    "    --fps N           frames a second of the saver (60), or of the GIF (15)\n"
    "    --display NAME    a saved display instead of the active one\n"
    "    --seed N          the run's seed: the same seed, the same picture (1)\n"
    "    --frames DIR      every frame as a PNG in DIR too, --every N only every Nth\n"
    "  --add-to-xscreensaver\n"
    "                  put Lumora in your xscreensaver list (~/.xscreensaver) as the\n"
    "                  screen saver shown; --remove-from-xscreensaver gives the list\n"
    "                  back as it was\n"
    "\n"
    "Settings live under $LUMORA_ROOT (by default ~/.local/share/lumora).\n";

std::string programPath() {
    char path[4096] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// Qt ends the process when its platform cannot start, so the display is
// looked for first.  A preview, and a run in xscreensaver's window, live
// inside an X window: they need X11 whatever the session is.  The reason is
// empty when the run can start.
std::string displayProblem(const Launch& launch) {
    if (launch.mode == RunMode::FullScreen) {
        if (platform::qtPlatformUsable()) return {};
        const char* requested = std::getenv("QT_QPA_PLATFORM");
        if (requested && *requested)
            return "no display to run the screen saver on: QT_QPA_PLATFORM=" + std::string(requested) +
                   " reaches none";
        return "no display to run the screen saver on: no Wayland compositor answers on WAYLAND_DISPLAY and "
               "no X server on DISPLAY";
    }
    if (platform::x11DisplayAnswers()) return {};
    const char* display = std::getenv("DISPLAY");
    std::string where = display && *display ? "no X server answers on DISPLAY " + std::string(display)
                                            : std::string("DISPLAY is not set");
    std::string request = launch.mode == RunMode::Preview ? "the preview" : "a run in another program's window";
    return request + " (" + launch.words[1] + ") needs X11, as it runs inside an X window, but " + where +
           " (on Wayland, run the screen saver with /s)";
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
    std::string problem = displayProblem(launch);
    if (!problem.empty()) {
        std::fprintf(stderr, "lumora: %s\n", problem.c_str());
        return 1;
    }
    // Qt gets only the program name and its plug-in: the saver's own
    // switches are not Qt's.
    platform::QtArguments qt = platform::qtApplicationArguments(launch.mode == RunMode::FullScreen ? nullptr : "xcb");
    QApplication application(*qt.argc, qt.argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return platform::saver::RunSaverWindow(launch, ScreenSaverProc);
}

// Where an installed program (not setup's copy) notes what it changed in
// the user's xscreensaver file.
constexpr char XScreenSaverNoteKey[] = "Software\\Lumora\\XScreenSaver";

// A packaged hack is not in the list xscreensaver ships: each user adds it.
int addToXScreenSaver(const std::string& program) {
    const std::string entry = platform::xscreensaver::ProgramEntry("Lumora", program, "-root");
    if (entry.empty() || !platform::AddScreenSaverProgram(entry, XScreenSaverNoteKey)) {
        std::fprintf(stderr, "lumora: ~/.xscreensaver was left as it was: it cannot be written, or its "
                             "programs list is one line that only a rewrite could extend\n");
        return 1;
    }
    std::printf("lumora: added to ~/.xscreensaver as the screen saver shown\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = programPath();
    Launch launch = platform::saver::ParseCommandLine(argc, argv, path, std::getenv("XSCREENSAVER_WINDOW"));
    platform::saver::SetCommandLineWords(launch.words);
    platform::saver::SetSavedDisplayOption(launch.savedDisplay);
    std::string hiveReport;
    if (launch.mode != RunMode::Invalid && launch.mode != RunMode::Password && launch.mode != RunMode::Help &&
        launch.mode != RunMode::Version && launch.mode != RunMode::AddToXScreenSaver &&
        launch.mode != RunMode::RemoveFromXScreenSaver) {
        hiveReport = keepUnusableHivesInMemory();
        for (std::size_t start = 0, end; (end = hiveReport.find('\n', start)) != std::string::npos; start = end + 1)
            std::fprintf(stderr, "lumora: %s\n", hiveReport.substr(start, end - start).c_str());
    }
    switch (launch.mode) {
    case RunMode::Render:
        return ScreenSaverRender(argc, argv);
    case RunMode::Password:
        std::printf("Setting a screen-saver password is not supported on Linux: the desktop's screen locker "
                    "asks for the password.\n");
        return 0;
    case RunMode::Help:
        std::fputs(Usage, stdout);
        return 0;
    case RunMode::Version:
        std::printf("lumora %s\n", LUMORA_VERSION);
        return 0;
    case RunMode::Invalid:
        std::fprintf(stderr, "lumora: %s\n%s", launch.error.c_str(), Usage);
        return 1;
    case RunMode::AddToXScreenSaver:
        return addToXScreenSaver(path);
    case RunMode::RemoveFromXScreenSaver:
        platform::RemoveScreenSaverProgram(XScreenSaverNoteKey);
        std::printf("lumora: ~/.xscreensaver holds no entry of ours now\n");
        return 0;
    case RunMode::Settings:
    case RunMode::Setup:  // the configuration entry shows the setup wizard instead of the settings
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
