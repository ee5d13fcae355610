// A saver program for the framework's tests: reports its messages on stdout.
// PROBE_HOLD_CLOSE=1 makes it hold WM_CLOSE back, as a saver does right after
// a display-mode switch.
#include <cstdio>
#include <cstdlib>

#include "platform/screensaver/screensaver.h"

LRESULT ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        std::array<std::string, 3> words = platform::CommandLineWords();
        std::printf("create [%s] [%s]\n", words[1].c_str(), words[2].c_str());
        break;
    }
    case WM_ERASEBKGND:
        std::printf("erase\n");
        break;
    case WM_CLOSE:
        std::printf("close\n");
        if (const char* hold = std::getenv("PROBE_HOLD_CLOSE"); hold && *hold == '1') {
            std::fflush(stdout);
            return 0;
        }
        break;
    case WM_DESTROY:
        std::printf("destroy\n");
        break;
    default:
        break;
    }
    std::fflush(stdout);
    return DefScreenSaverProc(hwnd, message, wParam, lParam);
}

int ScreenSaverRender(int argc, char** argv) {
    std::printf("render");
    for (int i = 1; i < argc; ++i) std::printf(" [%s]", argv[i]);
    std::printf("\n");
    return 7;
}

BOOL ScreenSaverConfigureDialog(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) std::printf("configure\n");
    std::fflush(stdout);
    return FALSE;
}
