// The frame loop, the palette steps, the requests it serves and the stopping
// of the threads.
#include <atomic>
#include <stdexcept>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/kernel/suspend.h"
#include "runtime_fixture.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/sound/analyser.h"

namespace {

using EngineTest = RuntimeTest;

TEST_F(EngineTest, OnlyRandomStillRunsFramesAndAnimatesThePalette) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    for (int m = 0; m < ModuleCount; ++m) EXPECT_EQ(ActiveModules[m] != 0, m == ModuleRandom) << m;
    StartModules();
    DWORD framesBefore = FrameCounter;
    std::uint64_t palettesBefore = presenter->paletteCount();
    gdi::HardwareColours first = presenter->palette();
    for (int i = 0; i < 50; ++i) {
        RunFrame();
        platform::AdvanceTestClock(PaletteStep());
    }
    EXPECT_EQ(FrameCounter - framesBefore, 50u);
    EXPECT_GT(presenter->paletteCount(), palettesBefore);
    EXPECT_NE(presenter->palette(), first);
    EXPECT_EQ(Running, 1);
    endRun(window);
    EXPECT_EQ(Running, 0);
    EXPECT_EQ(PaletteEngine.load(), nullptr);
}

TEST_F(EngineTest, StrengthDecidesHowOftenAModuleStepsAndWhenIdleSleeps) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    TestModule::Use({ModuleBezier});
    ModuleRecord& record = ModuleTable[ModuleBezier];

    struct Case {
        LONG strength;
        LONG result;
        int frames;
        int steps;       // steps expected over all frames
        DWORD sleptMs;   // virtual time the idle sleeps take
    };
    const Case cases[] = {
        {3, 0, 4, 12, 0},                     // up to Strength steps a frame
        {3, StepIdle, 4, 4, 4 * IdleSleepMs},  // an idle step ends the frame's turn with a sleep
        {0, StepIdle, 4, 4, 0},               // like 1, but the result is not looked at
        {1, StepIdle, 4, 4, 4 * IdleSleepMs},
        {-3, StepIdle, 9, 3, 3 * IdleSleepMs},  // only every third frame
        {-3, 0, 9, 3, 0},
    };
    for (const Case& c : cases) {
        record.value[StrengthSlot] = c.strength;
        TestModule::stepResult() = c.result;
        TestModule::log().clear();
        // Start on a frame number divisible by three, so a negative Strength
        // steps on exactly frames/3 frames.
        while (FrameCounter % 3 != 2) RunFrame();
        TestModule::log().clear();
        DWORD before = GetTickCount();
        for (int f = 0; f < c.frames; ++f) RunFrame();
        EXPECT_EQ(TestModule::count("step 0"), c.steps) << "Strength " << c.strength << " result " << c.result;
        EXPECT_EQ(GetTickCount() - before, c.sleptMs) << "Strength " << c.strength << " result " << c.result;
    }
    endRun(window);
}

TEST_F(EngineTest, SpeedDelaysEveryFrameAndAnOutOfRangeSpeedCountsAsTheSlowest) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    StartModules();
    for (DWORD speed : {0u, 3u, 10u, 0xFFFFFFFFu}) {
        Speed = speed;
        DWORD before = GetTickCount();
        RunFrame();
        EXPECT_EQ(GetTickCount() - before, std::min<DWORD>(speed, MaxSpeed) * SpeedUnitMs) << speed;
    }
    Speed = 0;
    endRun(window);
}

TEST_F(EngineTest, RestartRequestRenewsEveryActiveModuleOnceInIndexOrder) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    TestModule::Use({ModuleBezier, ModulePlasma, ModuleStar});
    StartModules();
    EXPECT_EQ(TestModule::log(), (std::vector<std::string>{"init 0", "start 0", "init 3", "start 3", "init 7",
                                                            "start 7"}));
    for (int m : {0, 3, 7}) ModuleTable[m].value[StrengthSlot] = 1;
    TestModule::log().clear();
    SharedSpectrum->set(spectrum::restartRequest, 1);
    RunFrame();
    EXPECT_EQ(TestModule::log(),
              (std::vector<std::string>{"step 0", "step 3", "step 7", "free 0", "init 0", "start 0", "free 3",
                                        "init 3", "start 3", "free 7", "init 7", "start 7"}));
    EXPECT_EQ(SharedSpectrum->get(spectrum::restartRequest), 0u);
    TestModule::log().clear();
    RunFrame();
    EXPECT_EQ(TestModule::count("init 0"), 0);
    endRun(window);
    EXPECT_EQ(TestModule::log().back(), "free 7");
    EXPECT_EQ(TestModule::count("free 0"), 1);
}

TEST_F(EngineTest, CaptureRequestStoresTheDisplayWithFixedSourcesAndMakesItActive) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    TestModule::Use({ModuleBezier, ModuleRandom});
    StartModules();
    ModuleRecord& record = ModuleTable[ModuleBezier];
    ASSERT_TRUE(record.defined[0]);
    record.source[0] = 2;  // oscillating
    record.value[0] = record.min[0];
    SharedSpectrum->set(spectrum::captureRequest, 1);
    RunFrame();

    EXPECT_EQ(SharedSpectrum->get(spectrum::captureRequest), 0u);
    char active[128] = {};
    DWORD size = sizeof active;
    ASSERT_TRUE(ReadSaverValue("Active", SaverKeyWord, nullptr, active, &size));
    EXPECT_STREQ(active, "Capture #1");
    EXPECT_TRUE(DisplayHasModule("Capture #1", "Bezier"));
    EXPECT_FALSE(DisplayHasModule("Capture #1", "Random"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ModuleKeyPath("Capture #1", "Bezier").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    BYTE check[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    DWORD checkSize = sizeof check;
    EXPECT_EQ(RegQueryValueExA(key, "Check0", nullptr, nullptr, check, &checkSize), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(check[0] | check[1] | check[2] | check[3], 0);
    // The running display goes on as it was.
    EXPECT_EQ(record.source[0], 2);
    EXPECT_EQ(ActiveModules[ModuleRandom], 1u);
    endRun(window);
}

// A presenter whose pacing hangs the drawing thread once asked to: GdiFlush
// then never returns, as a drawing thread stuck in a driver would.
class HangingPresenter : public gdi::OffscreenPresenter {
public:
    HangingPresenter() : gdi::OffscreenPresenter(60) {}
    void pace() override {
        if (hang) {
            hanging = true;
            for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
        }
        gdi::OffscreenPresenter::pace();
    }
    std::atomic<bool> hang{false};
    std::atomic<bool> hanging{false};
};

template <typename Condition>
bool WaitFor(Condition condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

TEST_F(EngineTest, StoppingAHungDrawingThreadAbandonsItAndGoesOn) {
    platform::UseRealClock();
    // Kept for the life of the program: the abandoned thread keeps using it.
    static auto* hanging = new std::shared_ptr<HangingPresenter>(std::make_shared<HangingPresenter>());
    HWND window = platform::CreateOffscreenWindow(160, 120, *hanging);
    openBlock();
    DrawingThread = CreateThread(nullptr, 0, DrawingThreadMain, window, 0, nullptr);
    ASSERT_TRUE(WaitFor([] { return FrameCounter.load() > 2; }));
    (*hanging)->hang = true;
    ASSERT_TRUE(WaitFor([&] { return (*hanging)->hanging.load(); }));

    Running = 0;
    StopDrawingThread();
    EXPECT_EQ(DrawingThread.load(), nullptr);
    EXPECT_TRUE((*hanging)->hanging);

    // The palette thread ends by itself once Running is clear; the engine
    // the abandoned thread would have destroyed is freed here.
    HANDLE palette = PaletteThread.exchange(nullptr);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(WaitForSingleObject(palette, 10000), WAIT_OBJECT_0);
    CloseHandle(palette);
    if (PaletteSettings* engine = PaletteEngine.exchange(nullptr)) DestroyPaletteEngine(engine);
    platform::UseTestClock(kStart);
}

TEST_F(EngineTest, AnExceptionOnTheDrawingThreadEndsTheRunAtOnce) {
    platform::UseRealClock();
    HWND window = makeWindow(160, 120, 60);
    openBlock();
    DisplayLoader = [] { throw std::runtime_error("registry gone"); };
    HANDLE thread = CreateThread(nullptr, 0, DrawingThreadMain, window, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(thread);
    EXPECT_EQ(Running, 0);
    EXPECT_EQ(PaletteThread.load(), nullptr);  // the run never got that far
    InstallSettingsStore();
    if (PaletteSettings* engine = PaletteEngine.exchange(nullptr)) DestroyPaletteEngine(engine);
    platform::UseTestClock(kStart);
}

TEST_F(EngineTest, TheDisplaysPriorityHoldsUnlessTheAnalyserRuns) {
    HWND window = makeWindow(160, 120);
    beginRun(window);
    DWORD stored = SaverOptions.Priority;
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), stored);
    endRun(window);
    ASSERT_NE(stored, static_cast<DWORD>(NORMAL_PRIORITY_CLASS));

    SharedSpectrum->set(spectrum::running, 1);
    beginRun(window);
    EXPECT_EQ(SaverOptions.Priority, stored);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    endRun(window);
}

TEST_F(EngineTest, ACloseDuringSetUpStartsNoAnalyserAndLeavesTheRunOff) {
    // The analyser is a script that leaves a mark when it starts.
    const std::filesystem::path marker = root.path() / "analyser-started";
    const std::filesystem::path script = root.path() / "analyser.sh";
    std::ofstream(script) << "touch " << marker.string() << "\n";
    const std::string command = "/bin/sh " + script.string();
    ASSERT_TRUE(WriteStringValue(HKEY_LOCAL_MACHINE, AnalyserCommandKey, nullptr, command.c_str()));
    HWND window = makeWindow(1024, 768);  // full screen: AutoRun plays there
    openBlock();
    // The display asks for the analyser, and the window closes while it loads.
    DisplayLoader = [] {
        SaverOptions.AutoRun = 1;
        StopRequested = 1;
    };
    PrepareRun(window, TRUE);
    EXPECT_EQ(AnalyserStartedHere, 0);
    EXPECT_EQ(Running, 0) << "a palette thread started now would run on after the window is gone";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(marker));

    StopRequested = 0;
    InstallSettingsStore();
    Running = 0;
    EndRun();
}

TEST_F(EngineTest, AutoRunLoadsTheDisplayAgainOnceTheStartedAnalyserDeliversLevels) {
    // The analyser is a script that leaves a mark; the test stands in for
    // its first levels when the mark appears.
    const std::filesystem::path marker = root.path() / "analyser-started";
    const std::filesystem::path script = root.path() / "analyser.sh";
    std::ofstream(script) << "touch " << marker.string() << "\n";
    const std::string command = "/bin/sh " + script.string();
    ASSERT_TRUE(WriteStringValue(HKEY_LOCAL_MACHINE, AnalyserCommandKey, nullptr, command.c_str()));
    HWND window = makeWindow(1024, 768);
    openBlock();
    std::thread analyser([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(marker) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        SharedSpectrum->set(spectrum::running, 1);
    });
    // Each load notes whether the analyser ran, as loading decides on it
    // whether sound sources stay.
    static std::vector<DWORD> runningAtLoad;
    runningAtLoad.clear();
    DisplayLoader = [] {
        SaverOptions.AutoRun = 1;
        runningAtLoad.push_back(SharedSpectrum->get(spectrum::running));
    };
    PrepareRun(window, TRUE);
    analyser.join();
    EXPECT_EQ(AnalyserStartedHere, 1);
    EXPECT_EQ(runningAtLoad, (std::vector<DWORD>{0, 1}));

    SharedSpectrum->set(spectrum::running, 0);
    InstallSettingsStore();
    Running = 0;
    EndRun();
}

}  // namespace
