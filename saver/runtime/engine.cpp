#include "saver/runtime/engine.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/palette/palette_engine.h"
#include "saver/runtime/overlays.h"
#include "saver/runtime/run_state.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/analyser.h"
#include "saver/sound/spectrum_block.h"

namespace {

// The palette thread's remembered device context and its own.
HDC EngineDcBefore = nullptr;
HDC PaletteDc = nullptr;

bool AnalyserRunning() { return SharedSpectrum && SharedSpectrum->get(spectrum::running) != 0; }

// Starting a program on Windows returns once the program is ready; here it
// returns at once.  The analyser counts as ready when its first levels
// arrive, so the set-up waits for them, on the real clock (the analyser
// lives on it whatever clock the saver runs on), bounded and broken off by
// a close, before it loads the display again.
constexpr auto AnalyserReadyWait = std::chrono::milliseconds(1000);
constexpr auto AnalyserReadyPoll = std::chrono::milliseconds(10);

void AwaitAnalyser() {
    const auto deadline = std::chrono::steady_clock::now() + AnalyserReadyWait;
    while (!AnalyserRunning() && !StopRequested && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(AnalyserReadyPoll);
    }
}

void StepModule(ModuleRecord* record) {
    LONG strength = record->value[StrengthSlot];
    if (strength > 0) {
        for (LONG i = 0; i < strength; ++i) {
            if (record->step(record) == StepIdle) {
                Sleep(IdleSleepMs);
                break;
            }
        }
    } else if (strength == 0) {
        record->step(record);
    } else {
        DWORD every = 0u - static_cast<DWORD>(strength);
        if (FrameCounter.load() % every == 0 && record->step(record) == StepIdle) Sleep(IdleSleepMs);
    }
}

void RestartModules() {
    for (int m = 0; m < ModuleCount; ++m) {
        if (!ActiveModules[m]) continue;
        ModuleRecord* record = &ModuleTable[m];
        record->free(record);
        record->init(record);
        record->start(record);
    }
}

}  // namespace

void PrepareRun(HWND window, BOOL mayStartAnalyser) {
    srand(GetTickCount());
    Canvas = GetDC(window);
    RECT client{};
    GetClientRect(window, &client);
    for (ModuleRecord& record : ModuleTable) {
        record = ModuleRecord{};
        record.width = client.right;
        record.height = client.bottom;
        record.dc = Canvas;
    }
    // Each run waits for its own palette thread's first pattern.
    PaletteReady = 0;
    Running = 1;
    PaletteEngine = CreatePaletteEngine(Canvas);
    OverlaySetup(Canvas, window);
    BuildModuleTable();
    AnalyserStartedHere = 0;
    // After a close nobody would ask an analyser started now to close again.
    if (SaverOptions.AutoRun && mayStartAnalyser && !StopRequested && !AnalyserRunning()) {
        if (StartAnalyser(window, 1)) AwaitAnalyser();
        // Loading again now that the analyser runs keeps the sound sources
        // that the first load turned into oscillation.
        BuildModuleTable();
        AnalyserStartedHere = 1;
    }
    SetPriorityClass(GetCurrentProcess(), AnalyserRunning() ? NORMAL_PRIORITY_CLASS : SaverOptions.Priority);
    if (SaverOptions.ClearFirst) PatBlt(Canvas, 0, 0, client.right, client.bottom, BLACKNESS);
    // A close during the set-up cleared Running before it was set above, or
    // asked for the stop first: the run stays off either way, so the palette
    // thread started for it ends by itself even when the drawing thread was
    // given up on.
    if (StopRequested) Running = 0;
}

void StartModules() {
    for (int m = 0; m < ModuleCount; ++m) {
        if (!ActiveModules[m]) continue;
        ModuleRecord* record = &ModuleTable[m];
        ClampControls(record);
        record->init(record);
        record->start(record);
    }
}

void RunFrame() {
    FrameCounter += 1;
    UpdateCdBox();
    UpdateNameBox();
    UpdateSloganBox();
    for (int m = 0; m < ModuleCount; ++m) {
        if (ActiveModules[m]) StepModule(&ModuleTable[m]);
    }
    GdiFlush();
    // A stored Speed beyond its range would stall the loop: it counts as the
    // slowest setting.
    if (Speed > 0) Sleep(std::min(Speed, MaxSpeed) * SpeedUnitMs);
    if (SharedSpectrum && SharedSpectrum->get(spectrum::captureRequest)) CaptureDisplay();
    if (SharedSpectrum && SharedSpectrum->get(spectrum::restartRequest)) {
        RestartModules();
        SharedSpectrum->set(spectrum::restartRequest, 0);
    }
}

void EndRun() {
    for (int m = 0; m < ModuleCount; ++m) {
        if (ActiveModules[m]) ModuleTable[m].free(&ModuleTable[m]);
    }
    if (HANDLE thread = PaletteThread.exchange(nullptr)) {
        if (WaitForSingleObject(thread, ThreadStopMs) != WAIT_OBJECT_0) TerminateThread(thread, TerminatedExitCode);
        CloseHandle(thread);
    }
    Running = 0;
    if (PaletteSettings* engine = PaletteEngine.exchange(nullptr)) DestroyPaletteEngine(engine);
}

void BeginPaletteRun(HWND window) {
    PaletteSettings* engine = PaletteEngine;
    EngineDcBefore = engine->dc;
    PaletteDc = GetDC(window);
    engine->dc = PaletteDc;
    RestartAllChannels(engine);
    PaletteReady = 1;
}

DWORD PaletteStep() {
    PaletteSettings* engine = PaletteEngine;
    PaletteTick(engine);
    std::lock_guard lock(CurrentPaletteLock);
    PaletteRandomEvents(engine);
    LONG cycleRate = engine->value[ParamCycleRate][ChannelRed];
    return cycleRate > 0 ? static_cast<DWORD>(cycleRate) : 0;
}

void EndPaletteRun(HWND window) {
    SelectClipRgn(PaletteDc, nullptr);
    ReleaseDC(window, PaletteDc);
    PaletteSettings* engine = PaletteEngine;
    engine->dc = EngineDcBefore;
}
