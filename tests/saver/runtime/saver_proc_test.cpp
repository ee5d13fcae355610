// The saver window's procedure driven with messages: the key commands, the
// input filters after a mode switch, and the test display of a settings
// file named on the command line.
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/kernel/suspend.h"
#include "platform/screensaver/command_line.h"
#include "runtime_fixture.h"
#include "saver/palette/palette_settings.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/test_display.h"
#include "saver/sound/versions.h"

namespace {

class SaverProcTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        platform::saver::SetCommandLineWords({"lumora", "/s", ""});
        platform::saver::SetSavedDisplayOption("");
        window = makeWindow(320, 240);
        platform::SetWindowProcedure(window, ScreenSaverProc);
    }
    void TearDown() override {
        if (SharedSpectrum) ScreenSaverProc(window, WM_DESTROY, 0, 0);
        RuntimeTest::TearDown();
    }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ScreenSaverProc(window, message, wParam, lParam);
    }
    LRESULT move(int x, int y) { return send(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    // Takes the queued messages; true when a WM_CLOSE for the window was
    // among them.
    bool closePosted() {
        bool found = false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) found |= msg.message == WM_CLOSE;
        return found;
    }

    // The framework judges a move by its distance from the first position it
    // saw; it sees (0, 0) first.
    void primeMouseOrigin() {
        LONG switched = ModeSwitched;
        ModeSwitched = 0;
        move(0, 0);
        ModeSwitched = switched;
        closePosted();
    }

    std::string active() {
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        ReadSaverValue("Active", SaverKeyWord, nullptr, value, &size);
        return value;
    }

    HWND window = nullptr;
};

TEST_F(SaverProcTest, CreationOpensTheBlockAndCountsTheWindowDestructionUndoesIt) {
    ASSERT_EQ(send(WM_CREATE), 0);
    ASSERT_NE(SharedSpectrum, nullptr);
    SpectrumBlock* other = AttachSpectrumBlock();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->get(spectrum::saverCount), 1u);
    EXPECT_EQ(other->get(spectrum::instanceCount), 1u);
    EXPECT_EQ(ReadUserDword("Software\\Lumora", "Current Version"), 3u * 65536 + 6);
    EXPECT_EQ(ReadUserDword("Software\\Lumora", "Build"), 465u);
    send(WM_DESTROY);
    EXPECT_EQ(SharedSpectrum, nullptr);
    EXPECT_EQ(other->get(spectrum::saverCount), 0u);
    EXPECT_EQ(other->get(spectrum::instanceCount), 0u);
    CloseSpectrumBlock(other);
}

TEST_F(SaverProcTest, ArrowAndDigitKeysFeedTheAnalyserWithoutEndingTheSaver) {
    send(WM_CREATE);
    for (WPARAM key : {VK_LEFT, VK_LEFT, VK_RIGHT, VK_LEFT, VK_UP, VK_UP, VK_DOWN, WPARAM('7')}) send(WM_KEYDOWN, key);
    EXPECT_EQ(SharedSpectrum->get(spectrum::keyHorizontal), -2);
    EXPECT_EQ(SharedSpectrum->get(spectrum::keyVertical), 1);
    EXPECT_EQ(SharedSpectrum->get(spectrum::keyDigit), 7);
    EXPECT_FALSE(closePosted());
    EXPECT_EQ(InputSeen, 0u);
    EXPECT_TRUE(ui.beeps().empty());
}

TEST_F(SaverProcTest, FunctionKeysCommandTheRunAndBeep) {
    HWND canvasWindow = window;
    send(WM_CREATE);
    beginRun(canvasWindow);
    PaletteSettings* palette = PaletteEngine;
    ASSERT_NE(palette, nullptr);
    LONG directions[ChannelCount];
    for (int c = 0; c < ChannelCount; ++c) directions[c] = palette->value[ParamDirection][c];

    send(WM_KEYDOWN, VK_F1);
    EXPECT_EQ(SharedSpectrum->get(spectrum::captureRequest), 1u);
    SharedSpectrum->set(spectrum::captureRequest, 0);
    send(WM_KEYDOWN, VK_F2);
    EXPECT_EQ(SharedSpectrum->get(spectrum::restartRequest), 1u);
    send(WM_KEYDOWN, VK_F3);
    EXPECT_EQ(SharedSpectrum->get(spectrum::captureRequest), 1u);
    EXPECT_EQ(KeepScreenColours, 1u);
    for (int c = 0; c < ChannelCount; ++c) EXPECT_EQ(palette->effect[c], EffectCustom);
    platform::AdvanceTestClock(1234);
    send(WM_KEYDOWN, VK_F4);
    for (int c = 0; c < ChannelCount; ++c) EXPECT_EQ(palette->nextChange[c], GetTickCount());
    send(WM_KEYDOWN, VK_F8);
    for (int c = 0; c < ChannelCount; ++c) EXPECT_EQ(palette->value[ParamDirection][c], -directions[c]);
    primeMouseOrigin();
    send(WM_KEYDOWN, VK_F9);
    EXPECT_EQ(IgnoreMouse, 1u);
    EXPECT_EQ(ui.beeps(), (std::vector<UINT>{0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(closePosted());
    EXPECT_EQ(InputSeen, 0u);

    // While mouse moves are ignored even a long one does not end the saver.
    move(300, 200);
    EXPECT_FALSE(closePosted());
    send(WM_KEYDOWN, VK_F9);
    move(300, 200);
    EXPECT_TRUE(closePosted());

    // The capture the F3 asked for takes place in the next frame.
    StartModules();
    RunFrame();
    EXPECT_EQ(KeepScreenColours, 0u);
    EXPECT_EQ(active(), "Capture #1");
    endRun(canvasWindow);
}

TEST_F(SaverProcTest, OtherKeysAndButtonsAreTheUsersAndEndTheSaver) {
    send(WM_CREATE);
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        InputSeen = 0;
        send(message, message == WM_KEYDOWN ? VK_ESCAPE : 0);
        EXPECT_EQ(InputSeen, 1u) << message;
        EXPECT_TRUE(closePosted()) << message;
    }
    for (WPARAM key : {VK_F10, VK_F12, VK_SPACE, WPARAM('A')}) {
        send(WM_KEYDOWN, key);
        EXPECT_TRUE(closePosted()) << key;
    }
    EXPECT_TRUE(ui.beeps().empty());
}

TEST_F(SaverProcTest, LosingActivationNeverEndsTheSaver) {
    send(WM_CREATE);
    for (UINT message : {WM_ACTIVATE, WM_ACTIVATEAPP}) {
        EXPECT_EQ(send(message, MAKEWPARAM(WA_INACTIVE, 0)), 0);
        EXPECT_FALSE(closePosted());
        send(message, WA_ACTIVE);
        EXPECT_FALSE(closePosted());
    }
    // The same deactivation through the framework alone would end it.
    DefScreenSaverProc(window, WM_ACTIVATEAPP, 0, 0);
    EXPECT_TRUE(closePosted());
}

class ModeSwitchFilterTest : public SaverProcTest {
protected:
    void SetUp() override {
        SaverProcTest::SetUp();
        send(WM_CREATE);
        ModeSwitched = 1;
        StartTime = GetTickCount();
        primeMouseOrigin();
    }
    // One burst of moves 10 ms apart, far from where the mouse was; the
    // number of the first move passed on to the framework, 0 for none.
    int burst(int moves) {
        int passed = 0;
        for (int i = 1; i <= moves; ++i) {
            move(200 + i, 150);
            if (closePosted() && !passed) passed = i;
            platform::AdvanceTestClock(10);
        }
        return passed;
    }
};

TEST_F(ModeSwitchFilterTest, EarlyBurstsNeedTwentyOneMoves) {
    EXPECT_EQ(burst(20), 0);
    EXPECT_EQ(InputSeen, 0u);
    platform::AdvanceTestClock(MoveBurstMs);
    EXPECT_EQ(burst(21), 21);
    EXPECT_EQ(InputSeen, 1u);
}

TEST_F(ModeSwitchFilterTest, TheBurstWindowDoesNotSlide) {
    // 15 moves, then 10 more that fall into a new burst 2000 ms after the
    // first: neither burst reaches 21.
    EXPECT_EQ(burst(15), 0);
    platform::AdvanceTestClock(MoveBurstMs - 15 * 10);
    EXPECT_EQ(burst(10), 0);
    EXPECT_EQ(InputSeen, 0u);
}

TEST_F(ModeSwitchFilterTest, AfterEightSecondsSevenMovesAreEnough) {
    platform::AdvanceTestClock(EarlyPhaseMs);
    EXPECT_EQ(burst(6), 0);
    platform::AdvanceTestClock(MoveBurstMs);
    EXPECT_EQ(burst(7), 7);
}

TEST_F(ModeSwitchFilterTest, CloseIsHeldUntilTheUserActs) {
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_NE(SharedSpectrum, nullptr);  // not destroyed
    send(WM_LBUTTONDOWN);
    ASSERT_TRUE(closePosted());
    send(WM_CLOSE);
    EXPECT_EQ(SharedSpectrum, nullptr);  // the framework destroyed the window
}

TEST_F(SaverProcTest, WithoutAModeSwitchTheFrameworkJudgesEveryMove) {
    send(WM_CREATE);
    primeMouseOrigin();
    move(100, 100);
    EXPECT_TRUE(closePosted());
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_EQ(SharedSpectrum, nullptr);
}

TEST_F(SaverProcTest, F5SwapsThePausesOfTheTwoThreads) {
    platform::UseRealClock();
    HWND paced = makeWindow(160, 120, 60);
    platform::SetWindowProcedure(paced, ScreenSaverProc);
    ASSERT_EQ(ScreenSaverProc(paced, WM_CREATE, 0, 0), 0);
    ScreenSaverProc(paced, WM_ERASEBKGND, 0, 0);
    auto waitFor = [](auto condition) {
        for (int i = 0; i < 1000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return condition();
    };
    ASSERT_TRUE(waitFor([] { return PaletteThread.load() != nullptr && FrameCounter.load() > 0; }));
    HANDLE drawing = DrawingThread;
    HANDLE palette = PaletteThread;

    ScreenSaverProc(paced, WM_KEYDOWN, VK_F6, 0);
    EXPECT_EQ(DrawingPaused, 1u);
    ASSERT_TRUE(waitFor([&] { return platform::IsThreadParked(drawing); }));
    EXPECT_FALSE(platform::IsThreadParked(palette));

    ScreenSaverProc(paced, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(DrawingPaused, 0u);
    EXPECT_EQ(PalettePaused, 1u);
    ASSERT_TRUE(waitFor([&] { return platform::IsThreadParked(palette); }));
    DWORD frames = FrameCounter;
    EXPECT_TRUE(waitFor([&] { return FrameCounter.load() > frames + 2; }));
    EXPECT_FALSE(platform::IsThreadParked(drawing));

    // Ending the run while the palette is paused still ends both threads
    // properly: the engine is destroyed.
    ScreenSaverProc(paced, WM_DESTROY, 0, 0);
    EXPECT_EQ(DrawingThread.load(), nullptr);
    EXPECT_EQ(PaletteEngine.load(), nullptr);
    EXPECT_EQ(PalettePaused, 0u);
    platform::UseTestClock(kStart);
}

TEST_F(SaverProcTest, AWindowClosedWhileTheRunIsSettingUpEndsTheRunProperly) {
    platform::UseRealClock();
    HWND paced = makeWindow(160, 120, 60);
    platform::SetWindowProcedure(paced, ScreenSaverProc);
    ASSERT_EQ(ScreenSaverProc(paced, WM_CREATE, 0, 0), 0);
    ModeSwitched = 1;  // the drawing thread first waits for the mode to settle
    ScreenSaverProc(paced, WM_ERASEBKGND, 0, 0);
    ASSERT_NE(DrawingThread.load(), nullptr);
    ScreenSaverProc(paced, WM_DESTROY, 0, 0);
    // Not abandoned: the run's own end destroyed the palette engine.
    EXPECT_EQ(DrawingThread.load(), nullptr);
    EXPECT_EQ(PaletteThread.load(), nullptr);
    EXPECT_EQ(PaletteEngine.load(), nullptr);
    EXPECT_EQ(Running, 0);
    platform::UseTestClock(kStart);
}

class TestDisplayTest : public SaverProcTest {
protected:
    void SetUp() override {
        SaverProcTest::SetUp();
        // A saver key with the first-run displays, and the user's choice.
        BuildModuleTable();
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, "[D] Star", sizeof "[D] Star");
    }
    // A settings file holding one value of the Bezier module.
    std::string writeSettingsFile(const std::string& name, bool valid) {
        std::string path = root.path().string() + "/" + name;
        std::ofstream file(path, std::ios::binary);
        auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) file.put(static_cast<char>(v >> (8 * i)));
        };
        if (valid) file.write("\0\x42\0\x42", 4);
        u32(sizeof "Modules\\Bezier");
        file.write("Modules\\Bezier", sizeof "Modules\\Bezier");
        u32(sizeof "Control0");
        file.write("Control0", sizeof "Control0");
        u32(REG_BINARY);
        u32(4);
        u32(3);
        return path;
    }
};

TEST_F(TestDisplayTest, ASettingsFileWithBlanksIsShownAndActiveComesBackAtTheEnd) {
    platform::saver::SetCommandLineWords({"lumora", "/s", writeSettingsFile("Night Sky.LUM", true)});
    ASSERT_EQ(send(WM_CREATE), 0);
    EXPECT_EQ(TestMode, 1u);
    EXPECT_EQ(active(), TestDisplayName);
    EXPECT_TRUE(DisplayHasModule(TestDisplayName, "Bezier"));
    send(WM_DESTROY);
    EXPECT_EQ(TestMode, 0u);
    EXPECT_EQ(active(), "[D] Star");
    EXPECT_FALSE(KeyExists(DisplayKeyPath(TestDisplayName).c_str()));
}

TEST_F(TestDisplayTest, ASavedDisplayNamedOnTheCommandLineIsShownAndActiveStays) {
    // The second as xscreensaver's settings give it back after wrapping it.
    for (const char* shown : {"[D] Plasma", "[D]    \t\t  Plasma", "No Such Display", "[D] Plasma\\Modules"}) {
        platform::saver::SetSavedDisplayOption(shown);
        testing::internal::CaptureStderr();
        ASSERT_EQ(send(WM_CREATE), 0);
        BuildModuleTable();
        std::string said = testing::internal::GetCapturedStderr();
        bool known = std::string(shown).ends_with("Plasma");
        EXPECT_STREQ(CurrentDisplayName, known ? "[D] Plasma" : "[D] Star") << shown;
        EXPECT_EQ(said.find("no saved display named") != std::string::npos, !known) << said;
        EXPECT_EQ(active(), "[D] Star");
        send(WM_DESTROY);
        EXPECT_EQ(active(), "[D] Star");
    }
}

TEST_F(TestDisplayTest, AFileThatCannotBeImportedLeavesActiveAlone) {
    std::string tooLong = root.path().string() + "/" + std::string(300, 'n') + ".LUM";
    for (const std::string& argument :
         {writeSettingsFile("Broken.LUM", false), root.path().string() + "/Missing.LUM", tooLong}) {
        platform::saver::SetCommandLineWords({"lumora", "/s", argument});
        ASSERT_EQ(send(WM_CREATE), 0);
        EXPECT_EQ(TestMode, 0u);
        EXPECT_EQ(active(), "[D] Star");
        EXPECT_FALSE(KeyExists(DisplayKeyPath(TestDisplayName).c_str()));
        send(WM_DESTROY);
        EXPECT_EQ(active(), "[D] Star");
    }
}

TEST_F(TestDisplayTest, ATestRunThatNeverEndedIsUndoneOnceNoOtherInstanceIsOpen) {
    platform::saver::SetCommandLineWords({"lumora", "/s", writeSettingsFile("Night Sky.LUM", true)});
    ASSERT_EQ(send(WM_CREATE), 0);
    ASSERT_EQ(active(), TestDisplayName);
    // Killed: nothing of the run's end happens, the block goes with the process.
    CloseSpectrumBlock(SharedSpectrum);
    SharedSpectrum = nullptr;
    TestMode = 0;

    // A settings sheet is open (it may be running this very test): left alone.
    platform::saver::SetCommandLineWords({"lumora", "/s"});
    SpectrumBlock* sheet = OpenSpectrumBlock();
    ASSERT_NE(sheet, nullptr);
    sheet->add(spectrum::instanceCount, 1);
    ASSERT_EQ(send(WM_CREATE), 0);
    EXPECT_EQ(active(), TestDisplayName);
    send(WM_DESTROY);
    sheet->add(spectrum::instanceCount, -1);
    CloseSpectrumBlock(sheet);

    // Alone, the next saver puts the user's display back and drops the test.
    ASSERT_EQ(send(WM_CREATE), 0);
    EXPECT_EQ(active(), "[D] Star");
    EXPECT_FALSE(KeyExists(DisplayKeyPath(TestDisplayName).c_str()));
    char remembered[MAX_PATH];
    EXPECT_FALSE(ReadSaverValuePrefix(ActiveBeforeTestValue, SaverKeyWord, remembered, sizeof remembered));
    send(WM_DESTROY);
    EXPECT_EQ(active(), "[D] Star");
}

}  // namespace
