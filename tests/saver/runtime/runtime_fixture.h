#pragma once
// Each test gets a fresh registry, its own spectrum block, the test clock,
// a scripted user interface (beeps are recorded, never sounded) and saver
// windows without a window system.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/kernel/clock.h"
#include "platform/screensaver/message_queue.h"
#include "platform/ui/scripted.h"
#include "platform/win32.h"
#include "saver/framework/controls.h"
#include "saver/framework/module_table.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/overlays.h"
#include "saver/runtime/run_state.h"
#include "saver/runtime/saver_proc.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"
#include "support/temp_dir.h"

// A module standing in for a real one: it logs its operations and steps with
// a result the test chooses.
struct TestModule {
    static std::vector<std::string>& log() {
        static std::vector<std::string> calls;
        return calls;
    }
    static LONG& stepResult() {
        static LONG result = 0;
        return result;
    }
    static int index(ModuleRecord* record) { return static_cast<int>(record - ModuleTable); }
    static LONG Step(ModuleRecord* record) {
        log().push_back("step " + std::to_string(index(record)));
        return stepResult();
    }
    static LONG Init(ModuleRecord* record) {
        log().push_back("init " + std::to_string(index(record)));
        return 0;
    }
    static LONG Start(ModuleRecord* record) {
        log().push_back("start " + std::to_string(index(record)));
        return 0;
    }
    static LONG Free(ModuleRecord* record) {
        log().push_back("free " + std::to_string(index(record)));
        return 0;
    }
    // Puts the test module in place of module `index` and makes exactly the
    // listed modules active.
    static void Use(std::initializer_list<int> indexes) {
        for (DWORD& active : ActiveModules) active = 0;
        for (int index : indexes) {
            RegisterOperations(index, Step, Init, Start, Free);
            ActiveModules[index] = 1;
        }
        log().clear();
    }
    static int count(const std::string& call) {
        int n = 0;
        for (const std::string& entry : log()) n += entry == call;
        return n;
    }
};

class RuntimeTest : public testing::Test {
protected:
    static constexpr DWORD kStart = 100000;

    void SetUp() override {
        platform::UseTestClock(kStart);
        platform::saver::ResetQueue();
        platform::SetScreenSize(1024, 768);
        InstallSettingsStore();
        SaverOptions = {IDLE_PRIORITY_CLASS, 1, 1, 0, 0};
        Speed = 0;
        Running = 0;
        ModeSwitched = 0;
        AnalyserStartedHere = 0;
        TestMode = 0;
        InputSeen = 0;
        MoveBurstStart = 0;
        MoveCount = 0;
        IgnoreMouse = 0;
        DrawingPaused = 0;
        PalettePaused = 0;
        StartTime = kStart;
        SloganEnabled = 0;
    }

    void TearDown() override {
        for (HWND window : windows_) {
            platform::SetWindowProcedure(window, nullptr);
            platform::DestroyOffscreenWindow(window);
        }
        if (SharedSpectrum) CloseSpectrumBlock(SharedSpectrum);
        SharedSpectrum = nullptr;
        platform::saver::ResetQueue();
        platform::UseRealClock();
    }

    // An offscreen saver window; its presenter is paced at `fps` (0: not).
    HWND makeWindow(int width, int height, int fps = 0) {
        presenter = std::make_shared<gdi::OffscreenPresenter>(fps);
        HWND window = platform::CreateOffscreenWindow(width, height, presenter);
        windows_.push_back(window);
        return window;
    }

    void openBlock() {
        SharedSpectrum = OpenSpectrumBlock();
        ASSERT_NE(SharedSpectrum, nullptr);
    }

    // A run on the test's thread, as --render drives it.
    void beginRun(HWND window) {
        if (!SharedSpectrum) openBlock();
        PrepareRun(window, FALSE);
        BeginPaletteRun(window);
    }
    void endRun(HWND window) {
        Running = 0;
        EndPaletteRun(window);
        EndRun();
    }

    testsupport::ScopedPlatformRoot root;
    platform::ScriptedUi ui;
    std::shared_ptr<gdi::OffscreenPresenter> presenter;

private:
    std::vector<HWND> windows_;
};
