// The program full screen on a Wayland compositor of the test's own: weston
// drawing into a private Xvfb, which carries the test's input to weston and
// the pictures of weston's output back to the test.
#include <QFileInfo>
#include <QLibraryInfo>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "program.h"
#include "runtime_fixture.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "support/weston.h"
#include "support/x_server.h"

namespace {

using runtimetest::Grab;
using runtimetest::Screenshot;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Only bound a failure; a slow machine (or a sanitizer build) takes seconds.
constexpr int kShowMs = 30000;
constexpr int kEndMs = 15000;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool WaylandPluginInstalled() {
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so");
}

class WaylandSaverTest : public testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed: no X server to host weston";
        if (!testsupport::Weston::Installed()) GTEST_SKIP() << "weston is not installed (Debian package weston)";
        if (!WaylandPluginInstalled()) GTEST_SKIP() << "Qt's Wayland plug-in is missing (Debian package qt6-wayland)";
        std::string why;
        ASSERT_TRUE(server.start(kWidth, kHeight, &why)) << why;
        if (!weston.start(server.display(), kWidth, kHeight, &why))
            GTEST_SKIP() << "weston does not start here: " << why;
        InstallSettingsStore();
        BuildModuleTable();  // the first-run displays
        // A display that covers the whole screen in colour.
        const std::string name = "[D] Plasma";
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
        // Weston's pointer stands in the middle, where the saver appears.
        x("xdotool mousemove " + std::to_string(kWidth / 2) + " " + std::to_string(kHeight / 2));
        if (!desktopShown()) GTEST_SKIP() << "weston started but shows no desktop";
    }
    void TearDown() override {
        if (pid > 0 && runtimetest::Alive(pid)) runtimetest::WaitExit(pid, 0);
    }

    std::string x(const std::string& command) {
        return runtimetest::Output("DISPLAY=" + server.display() + " " + command);
    }

    // `platformChosen`: QT_QPA_PLATFORM unset and the X server named too,
    // as on a Wayland desktop with XWayland; else Qt is told Wayland.
    void start(bool platformChosen = false) {
        // In a sanitizer build, what the system's libraries keep to the end
        // would count as the program's leaks: the session bus, Wayland's
        // proxies, and Mesa's EGL (which Qt's Wayland plug-in starts even for
        // a raster window; its driver is unloaded before the leak check, so
        // only a full unwind reaches a frame that names the library).
        std::string suppressions = (root.path() / "lsan.supp").string();
        std::ofstream(suppressions) << "leak:libdbus-1.so\nleak:libwayland-client.so\nleak:libEGL_mesa.so\n";
        pid = runtimetest::Spawn({LUMORA_PROGRAM, "/s"}, {{"LUMORA_ROOT", root.path().string()},
                                                          {"DISPLAY", platformChosen ? server.display() : ""},
                                                          {"QT_QPA_PLATFORM", platformChosen ? "" : "wayland"},
                                                          {"XDG_RUNTIME_DIR", weston.runtimeDir()},
                                                          {"WAYLAND_DISPLAY", weston.socket()},
                                                          {"ASAN_OPTIONS", "fast_unwind_on_malloc=0"},
                                                          {"LSAN_OPTIONS", "suppressions=" + suppressions}});
        ASSERT_GT(pid, 0);
    }

    // Weston's desktop, once its shell has drawn it and it stands still.
    bool desktopShown() {
        for (int waited = 0; waited < kShowMs; waited += 200) {
            desktop = Grab(server.display(), "root");
            Pause(200);
            if (!desktop.blank() && desktop.differences(Grab(server.display(), "root")) == 0) return true;
        }
        return false;
    }

    // The screen once the saver covers it: hardly a pixel of weston's
    // desktop (its panel included) is left.
    Screenshot covered() {
        Screenshot shot;
        for (int waited = 0; waited < kShowMs && runtimetest::Alive(pid); waited += 100) {
            shot = Grab(server.display(), "root");
            if (!shot.blank() && shot.differences(desktop) > shot.rgb.size() / 3 * 95 / 100) return shot;
            Pause(100);
        }
        ADD_FAILURE() << "the saver did not cover the screen: " << shot.differences(desktop) << " of "
                      << shot.rgb.size() / 3 << " pixels differ from the desktop";
        return shot;
    }

    // The input ends the run, and the desktop shows again (so the next run
    // is not taken for this one's last picture).
    bool endsOn(const std::string& input) {
        x("xdotool " + input);
        std::optional<int> code = runtimetest::WaitExit(pid, kEndMs);
        pid = -1;
        for (int waited = 0; waited < kShowMs; waited += 100) {
            Screenshot now = Grab(server.display(), "root");
            if (now.differences(desktop) < now.rgb.size() / 3 / 20) return code == 0;
            Pause(100);
        }
        ADD_FAILURE() << "the desktop did not show again";
        return false;
    }

    testsupport::ScopedPlatformRoot root;
    testsupport::XServer server;
    testsupport::Weston weston;
    Screenshot desktop;
    pid_t pid = -1;
};

TEST_F(WaylandSaverTest, FullScreenPictureFlowsAndEndsOnAKeyAClickOrAMove) {
    start();
    Screenshot first = covered();
    EXPECT_EQ(first.width, kWidth);
    EXPECT_EQ(first.height, kHeight);
    Pause(300);
    Screenshot second = Grab(server.display(), "root");
    EXPECT_GT(first.differences(second), 0u) << "the colours did not change";
    // The pointer trembling where it entered is no input.
    x("xdotool mousemove_relative -- 2 -1");
    Pause(500);
    EXPECT_TRUE(runtimetest::Alive(pid)) << "a move of two pixels ended the saver";
    EXPECT_TRUE(endsOn("key a")) << "a key did not end the saver";

    // With X11 at hand too, the saver still runs on Wayland: no X window of its own.
    start(true);
    covered();
    EXPECT_EQ(x("xdotool search --pid " + std::to_string(pid) + " 2>/dev/null"), "");
    EXPECT_TRUE(endsOn("click 1")) << "a click did not end the saver";

    start();
    covered();
    EXPECT_TRUE(endsOn("mousemove_relative 40 30")) << "a move of the mouse did not end the saver";
}

}  // namespace

// Without an X server a preview or a run in xscreensaver's window cannot be,
// and a WAYLAND_DISPLAY whose compositor is gone must not let Qt abort.
TEST(ProgramWithoutX11, X11OnlyRequestsAndAStaleWaylandSocketFailWithTheirReason) {
    testsupport::TempDir runtime;
    auto run = [&](const std::string& environment, const std::string& arguments) {
        return runtimetest::Output("env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=" + runtime.str() + " " +
                                   environment + " '" LUMORA_PROGRAM "' " + arguments + " 2>&1; echo \"exit=$?\"");
    };
    const std::string preview = run("WAYLAND_DISPLAY=wayland-9 QT_QPA_PLATFORM=wayland", "/p 0x400001");
    EXPECT_EQ(preview.rfind("lumora: the preview (/p) needs X11", 0), 0u) << preview;
    EXPECT_NE(preview.find("DISPLAY is not set"), std::string::npos) << preview;
    EXPECT_NE(preview.find("exit=1"), std::string::npos) << preview;
    const std::string hack = run("XSCREENSAVER_WINDOW=0x400001", "-root");
    EXPECT_EQ(hack.rfind("lumora: a run in another program's window (-root) needs X11", 0), 0u) << hack;
    EXPECT_NE(hack.find("exit=1"), std::string::npos) << hack;
    const std::string stale = run("WAYLAND_DISPLAY=wayland-9", "/s");
    EXPECT_EQ(stale.rfind("lumora: no display to run the screen saver on", 0), 0u) << stale;
    EXPECT_NE(stale.find("exit=1"), std::string::npos) << stale;
}
