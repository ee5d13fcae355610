// The saver window's life: preparing a run at creation, starting the drawing
// thread at the first background erase, tearing everything down at
// destruction.
#include "saver/runtime/saver_proc.h"

#include <cstring>
#include <string>

#include "saver/modules/modules.h"
#include "saver/runtime/command_words.h"
#include "saver/runtime/display_mode.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/overlays.h"
#include "saver/runtime/run_state.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/shown_display.h"
#include "saver/settings/test_display.h"
#include "saver/sound/spectrum_link.h"
#include "saver/sound/versions.h"

DWORD TestMode = 0;
char SavedActive[MAX_PATH];
DWORD StartTime = 0;
DWORD InputSeen = 0;
DWORD MoveBurstStart = 0;
DWORD MoveCount = 0;
DWORD IgnoreMouse = 0;
DWORD DrawingPaused = 0;
DWORD PalettePaused = 0;

namespace {

// Shows the settings file named on the command line as the test display,
// remembering the display it replaces as Active.
void ImportTestDisplay(const CommandWords& words) {
    if (words.argumentTooLong || words.argument[0] == 0) return;
    if (!ReadSettingsFile(TestDisplayName, words.argument)) return;
    DWORD type = REG_SZ;
    DWORD size = sizeof SavedActive;
    ReadSaverValue("Active", SaverKeyWord, &type, SavedActive, &size);
    SavedActive[sizeof SavedActive - 1] = 0;
    RememberActiveBeforeTest(SavedActive);
    WriteSaverValue("Active", SaverKeyWord, REG_SZ, TestDisplayName, sizeof TestDisplayName);
    TestMode = 1;
}

void RemoveTestDisplay() {
    if (!TestMode) return;
    EndTestDisplay(SavedActive);
    TestMode = 0;
}

void ResumeIfPaused(DWORD& paused, HANDLE thread) {
    if (!paused) return;
    if (thread) ResumeThread(thread);
    paused = 0;
}

}  // namespace

LRESULT OnCreate(HWND window) {
    InstallSettingsStore();
    InstallDrawingModules();
    if (std::string shown = platform::SavedDisplayOption(); !shown.empty()) ShowSavedDisplay(shown, true);
    CommandWords words;
    SplitCommandLine(&words);
    RecoverInterruptedTest();
    ImportTestDisplay(words);
    WriteSaverVersion(SaverMajorVersion, SaverMinorVersion, SaverBuildNumber);
    LoadSlogan();
    SharedSpectrum = OpenSpectrumBlock();
    if (!SharedSpectrum) return -1;
    SharedSpectrum->add(spectrum::saverCount, 1);
    SharedSpectrum->add(spectrum::instanceCount, 1);
    ModeSwitched = SwitchDisplayMode(window);
    StartTime = GetTickCount();
    return 0;
}

LRESULT OnDestroy(HWND window) {
    // A thread the user paused would sit out the whole stop time and be
    // abandoned with the run's clean-up undone.  Resumed while the run is
    // still on, the palette thread's handle is still open.
    ResumeIfPaused(PalettePaused, PaletteThread);
    ResumeIfPaused(DrawingPaused, DrawingThread);
    StopRequested = 1;
    Running = 0;
    if (SpectrumBlock* block = SharedSpectrum) {
        StopDrawingThread();
        // Asked once the drawing thread has ended, so an analyser its set-up
        // was starting as the close came is asked to close too.
        if (AnalyserStartedHere) block->set(spectrum::closeRequest, 1);
        RestoreDisplayMode(window);
        RemoveTestDisplay();
        block->add(spectrum::saverCount, -1);
        block->add(spectrum::instanceCount, -1);
        block->set(spectrum::paletteUsesSound, 0);
        block->set(spectrum::modulesUseSound, 0);
        block->set(spectrum::fullScreen, 0);
        SharedSpectrum = nullptr;
        CloseSpectrumBlock(block);
    }
    // A run that could not open the block has still replaced Active.
    RemoveTestDisplay();
    ReleaseDirectDraw();
    return 0;
}

LRESULT ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_ERASEBKGND:
            if (!DrawingThread && SharedSpectrum) {
                StopRequested = 0;
                HANDLE thread = CreateThread(nullptr, 0, DrawingThreadMain, window, 0, nullptr);
                if (thread) SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
                DrawingThread = thread;
            }
            return 0;
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_ACTIVATE:
        case WM_ACTIVATEAPP:
            // Another window coming to the front (the analyser, say) must
            // not end the saver.
            if (LOWORD(wParam) == 0) return 0;
            return DefScreenSaverProc(window, message, wParam, lParam);
        case WM_CLOSE:
            // The close requests a mode switch causes are not the user's.
            if (ModeSwitched && !InputSeen) return 0;
            return DefScreenSaverProc(window, message, wParam, lParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, wParam, lParam);
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            InputSeen = 1;
            return DefScreenSaverProc(window, message, wParam, lParam);
        case WM_KEYDOWN:
            return OnKeyDown(window, wParam, lParam);
        default:
            return DefScreenSaverProc(window, message, wParam, lParam);
        }
    } catch (...) {
        PostQuitMessage(ProcedureFailedExitCode);
        return 0;
    }
}
