// The saver window and the program's entry on a real X server (an Xvfb of the
// test's own).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <vector>

#include "child_process.h"
#include "support/x_server.h"
#include "platform/gdi/gdi.h"
#include "platform/screensaver/run.h"
#include "platform/screensaver/screensaver.h"
#include "x_host.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kGiveUpMs = 15000;

// What the test procedures saw (they run on the window thread).
std::vector<UINT> seen;
bool gaveUp = false;

class SaverOnX : public testing::Test {
protected:
    static void SetUpTestSuite() {
        xvfb = new testsupport::XServer;
        if (!xvfb->start(kScreenWidth, kScreenHeight, &whyNoServer)) return;
        setenv("DISPLAY", xvfb->display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    static void TearDownTestSuite() {
        delete application;
        application = nullptr;
        delete xvfb;
        xvfb = nullptr;
    }
    void SetUp() override {
        if (!application) GTEST_SKIP() << "no X server for the test: " << whyNoServer;
        seen.clear();
        gaveUp = false;
    }
    void TearDown() override {
        delete giveUpTimer;
        giveUpTimer = nullptr;
    }

    // Ends a run that the test's events failed to end, so a fault fails the
    // test instead of hanging it.
    static platform::saver::RunHooks giveUpHooks() {
        platform::saver::RunHooks hooks;
        hooks.created = [](HWND hwnd, void*) {
            giveUpTimer = new QTimer;
            giveUpTimer->setSingleShot(true);
            QObject::connect(giveUpTimer, &QTimer::timeout, [hwnd] {
                gaveUp = true;
                DestroyWindow(hwnd);
            });
            giveUpTimer->start(kGiveUpMs);
        };
        return hooks;
    }

    static std::string probe() { return LUMORA_SCREENSAVER_PROBE; }
    static std::string display() { return "DISPLAY=" + xvfb->display(); }

    static inline testsupport::XServer* xvfb = nullptr;
    static inline QApplication* application = nullptr;
    static inline std::string whyNoServer;
    static inline QTimer* giveUpTimer = nullptr;
};

// --- Full screen: creation, first erase, the picture, a real key press -----

struct FullScreenRecord {
    RECT clientAtCreate{};
    WPARAM key = 0;
    unsigned long shownPixel = 0;
} fullScreen;

LRESULT FullScreenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE) seen.push_back(message);
    switch (message) {
    case WM_CREATE:
        GetClientRect(hwnd, &fullScreen.clientAtCreate);
        return 0;
    case WM_ERASEBKGND: {
        HDC dc = GetDC(hwnd);
        PatBlt(dc, 0, 0, kScreenWidth, kScreenHeight, WHITENESS);
        GdiFlush();
        ReleaseDC(hwnd, dc);
        // Once the picture had time to show, look at the screen, then press a
        // key on the X server's keyboard.
        QTimer::singleShot(500, [] {
            fullScreen.shownPixel = xhost::ScreenPixel(kScreenWidth / 2, kScreenHeight / 2);
            ChildProcess key({"/usr/bin/xdotool", "key", "F2"});
            key.wait(5000);
        });
        return 0;
    }
    case WM_KEYDOWN:
        fullScreen.key = wParam;
        break;
    default:
        break;
    }
    return DefScreenSaverProc(hwnd, message, wParam, lParam);
}

TEST_F(SaverOnX, FullScreenWindowGetsCreateEraseAndTheKeyThatEndsIt) {
    fullScreen = {};
    platform::saver::Launch launch;
    launch.mode = platform::saver::RunMode::FullScreen;
    int code = platform::saver::RunSaverWindow(launch, FullScreenProc, giveUpHooks());
    EXPECT_FALSE(gaveUp) << "the key press did not end the run";
    EXPECT_EQ(code, 0);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], WM_CREATE);
    EXPECT_EQ(seen[1], WM_ERASEBKGND) << "the first expose erases before any input";
    EXPECT_EQ(fullScreen.clientAtCreate.right, kScreenWidth);
    EXPECT_EQ(fullScreen.clientAtCreate.bottom, kScreenHeight);
    EXPECT_EQ(fullScreen.shownPixel, 0xFFFFFFu) << "the flushed Canvas is on the screen";
    EXPECT_EQ(fullScreen.key, VK_F2);
    EXPECT_EQ(seen.back(), WM_DESTROY);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_DESTROY), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenWidth);
}

// --- A virtual display mode: the Canvas scaled to the screen ---------------

struct VirtualModeRecord {
    RECT client{};
    unsigned long above = 0, middle = 0, below = 0;
} virtualMode;

LRESULT VirtualModeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // As the runtime does before a display-mode switch.
        SetWindowPos(hwnd, nullptr, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        return 0;
    case WM_ERASEBKGND: {
        GetClientRect(hwnd, &virtualMode.client);
        HDC dc = GetDC(hwnd);
        PatBlt(dc, 0, 0, 400, 200, WHITENESS);
        GdiFlush();
        ReleaseDC(hwnd, dc);
        QTimer::singleShot(500, [hwnd] {
            // 400 x 200 on 800 x 600: 800 x 400 at y = 100, bars above and below.
            virtualMode.above = xhost::ScreenPixel(400, 50);
            virtualMode.middle = xhost::ScreenPixel(400, 300);
            virtualMode.below = xhost::ScreenPixel(400, 550);
            DestroyWindow(hwnd);
        });
        return 0;
    }
    default:
        return 0;
    }
}

TEST_F(SaverOnX, VirtualModeCanvasIsScaledToTheScreenWithBlackBars) {
    virtualMode = {};
    platform::saver::Launch launch;
    launch.mode = platform::saver::RunMode::FullScreen;
    EXPECT_EQ(platform::saver::RunSaverWindow(launch, VirtualModeProc, giveUpHooks()), 0);
    EXPECT_FALSE(gaveUp);
    EXPECT_EQ(virtualMode.client.right, 400);
    EXPECT_EQ(virtualMode.client.bottom, 200);
    EXPECT_EQ(virtualMode.above, 0u);
    EXPECT_EQ(virtualMode.middle, 0xFFFFFFu);
    EXPECT_EQ(virtualMode.below, 0u);
}

// --- Preview: the host's size, and its resizes ------------------------------

struct PreviewRecord {
    unsigned long host = 0;
    RECT clientAtErase{};
    RECT clientAfterResize{};
    bool keyEnded = false;
} preview;

LRESULT PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE) seen.push_back(message);
    switch (message) {
    case WM_ERASEBKGND:
        GetClientRect(hwnd, &preview.clientAtErase);
        // Input in a preview is the host's: this must not end the run.
        DefScreenSaverProc(hwnd, WM_KEYDOWN, VK_SPACE, 0);
        xhost::ResizeHostWindow(preview.host, 400, 300);
        return 0;
    case WM_SIZE:
        if (LOWORD(static_cast<DWORD_PTR>(lParam)) == 400 && HIWORD(static_cast<DWORD_PTR>(lParam)) == 300) {
            GetClientRect(hwnd, &preview.clientAfterResize);
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_CLOSE:
        preview.keyEnded = true;
        break;
    default:
        break;
    }
    return DefScreenSaverProc(hwnd, message, wParam, lParam);
}

TEST_F(SaverOnX, PreviewTakesTheHostWindowsSizeAndFollowsItsResize) {
    preview = {};
    preview.host = xhost::CreateHostWindow(320, 200);
    ASSERT_NE(preview.host, 0u);
    platform::saver::Launch launch;
    launch.mode = platform::saver::RunMode::Preview;
    launch.windowId = preview.host;
    int code = platform::saver::RunSaverWindow(launch, PreviewProc, giveUpHooks());
    EXPECT_FALSE(gaveUp) << "the resize never arrived";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(preview.clientAtErase.right, 320);
    EXPECT_EQ(preview.clientAtErase.bottom, 200);
    EXPECT_EQ(preview.clientAfterResize.right, 400);
    EXPECT_EQ(preview.clientAfterResize.bottom, 300);
    EXPECT_FALSE(preview.keyEnded);
    xhost::DestroyHostWindow(preview.host);
}

TEST_F(SaverOnX, PreviewOfAWindowThatDoesNotExistFails) {
    platform::saver::Launch launch;
    launch.mode = platform::saver::RunMode::Preview;
    launch.windowId = 0x7FFFFFF;
    EXPECT_EQ(platform::saver::RunSaverWindow(launch, PreviewProc), 1);
    EXPECT_TRUE(seen.empty()) << "no window, no messages";
}

// --- The program's entry, end to end ----------------------------------------

TEST_F(SaverOnX, ProgramRunsFullScreenAndSigtermEndsItThroughClose) {
    ChildProcess saver({probe(), "/S", "Night Sky.LUM"}, {display(), "QT_QPA_PLATFORM="});
    ASSERT_TRUE(saver.started());
    ASSERT_TRUE(saver.waitForOutput("erase", 10000)) << saver.output();
    EXPECT_NE(saver.output().find("create [/S] [Night Sky.LUM]"), std::string::npos) << saver.output();
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait(5000), 0) << saver.output();
    EXPECT_NE(saver.output().find("close\ndestroy\n"), std::string::npos) << saver.output();
}

TEST_F(SaverOnX, SigtermEndsARunThatHoldsCloseAfterTheGrace) {
    ChildProcess saver({probe(), "-root"}, {display(), "PROBE_HOLD_CLOSE=1", "XSCREENSAVER_WINDOW="});
    ASSERT_TRUE(saver.started());
    ASSERT_TRUE(saver.waitForOutput("erase", 10000)) << saver.output();
    saver.signal(SIGINT);
    EXPECT_EQ(saver.wait(5000), 0) << saver.output();
    EXPECT_NE(saver.output().find("close\ndestroy\n"), std::string::npos) << saver.output();
}

TEST_F(SaverOnX, ProgramRunsInsideTheWindowXscreensaverGives) {
    unsigned long host = xhost::CreateHostWindow(200, 150);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", host);
    ChildProcess saver({probe(), "-root", "-fps", "-delay", "100"},
                       {display(), std::string("XSCREENSAVER_WINDOW=") + id});
    ASSERT_TRUE(saver.waitForOutput("erase", 10000)) << saver.output();
    EXPECT_NE(saver.output().find("create [-root] []"), std::string::npos) << saver.output();
    saver.signal(SIGTERM);
    EXPECT_EQ(saver.wait(5000), 0) << saver.output();
    xhost::DestroyHostWindow(host);
}

TEST(ProgramEntry, PasswordRenderSettingsAndBadSwitches) {
    ChildProcess password({LUMORA_SCREENSAVER_PROBE, "/a"});
    EXPECT_EQ(password.wait(5000), 0);
    EXPECT_NE(password.output().find("not supported"), std::string::npos) << password.output();

    ChildProcess render({LUMORA_SCREENSAVER_PROBE, "--render", "out.png", "--size", "64x48"});
    EXPECT_EQ(render.wait(5000), 7) << "the program's render code is the exit code";
    EXPECT_NE(render.output().find("render [--render] [out.png] [--size] [64x48]"), std::string::npos)
        << render.output();

    // The settings, as without a switch: the program's configuration entry.
    for (std::vector<std::string> words : {std::vector<std::string>{LUMORA_SCREENSAVER_PROBE, "/c"},
                                           std::vector<std::string>{LUMORA_SCREENSAVER_PROBE}}) {
        ChildProcess settings(words);
        EXPECT_EQ(settings.wait(5000), 0);
        EXPECT_NE(settings.output().find("configure"), std::string::npos) << settings.output();
    }

    ChildProcess noId({LUMORA_SCREENSAVER_PROBE, "/p"});
    EXPECT_EQ(noId.wait(5000), 1);

    ChildProcess noDisplay({LUMORA_SCREENSAVER_PROBE, "/s"}, {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
    EXPECT_EQ(noDisplay.wait(5000), 1) << "no display is an error, not a crash";
}

}  // namespace
