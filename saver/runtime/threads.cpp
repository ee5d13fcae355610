// The drawing and palette threads: loops over the engine's steps.
#include <stdexcept>

#include "saver/runtime/engine.h"
#include "saver/runtime/run_state.h"

DWORD DrawingThreadMain(LPVOID parameter) {
    HWND window = static_cast<HWND>(parameter);
    try {
        if (ModeSwitched) {
            // Let the mode change settle before the first picture.
            WaitForInputIdle(GetCurrentProcess(), 1000);
            Sleep(1000);
            if (StopRequested) return 0;  // closed while waiting: nothing to set up or undo
        }
        PrepareRun(window, TRUE);
        HANDLE palette = CreateThread(nullptr, 0, PaletteThreadMain, window, 0, nullptr);
        if (!palette) throw std::runtime_error("no palette thread");
        SetThreadPriority(palette, THREAD_PRIORITY_NORMAL);
        PaletteThread = palette;
        // A palette thread that failed clears Running instead of ever
        // becoming ready.
        while (!PaletteReady && Running) Sleep(0);
        StartModules();
        while (Running && !StopRequested) RunFrame();
        // However the loop ended, the palette thread ends on this.
        Running = 0;
        EndRun();
    } catch (...) {
        Running = 0;
    }
    return 0;
}

DWORD PaletteThreadMain(LPVOID parameter) {
    HWND window = static_cast<HWND>(parameter);
    try {
        BeginPaletteRun(window);
        while (Running) Sleep(PaletteStep());
        EndPaletteRun(window);
    } catch (...) {
        Running = 0;
    }
    return 0;
}

void StopDrawingThread() {
    HANDLE thread = DrawingThread.exchange(nullptr);
    if (!thread) return;
    if (WaitForSingleObject(thread, ThreadStopMs) != WAIT_OBJECT_0) TerminateThread(thread, TerminatedExitCode);
    CloseHandle(thread);
}
