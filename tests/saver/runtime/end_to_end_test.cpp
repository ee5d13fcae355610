// The program itself on a private X server: a full-screen run, a preview
// inside another window, and a test run ended by SIGTERM.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "program.h"
#include "x_window.h"
#include "runtime_fixture.h"
#include "support/x_server.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"

namespace {

using runtimetest::Grab;
using runtimetest::Output;
using runtimetest::Screenshot;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class EndToEndTest : public testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        std::string why;
        ASSERT_TRUE(server.start(640, 480, &why)) << why;
        InstallSettingsStore();
        BuildModuleTable();  // the first-run displays
        setActive("[D] Bezier");
    }
    void TearDown() override {
        if (pid > 0 && runtimetest::Alive(pid)) runtimetest::WaitExit(pid, 0);
    }

    void setActive(const std::string& name) {
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
    }
    std::string active() {
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        ReadSaverValue("Active", SaverKeyWord, nullptr, value, &size);
        return value;
    }

    void start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), LUMORA_PROGRAM);
        // In a sanitizer build the session bus library's own allocations
        // would count as the program's leaks.
        std::string suppressions = (root.path() / "lsan.supp").string();
        std::ofstream(suppressions) << "leak:libdbus-1.so\n";
        pid = runtimetest::Spawn(arguments, {{"LUMORA_ROOT", root.path().string()},
                                             {"DISPLAY", server.display()},
                                             {"QT_QPA_PLATFORM", "xcb"},
                                             {"LSAN_OPTIONS", "suppressions=" + suppressions}});
        ASSERT_GT(pid, 0);
    }
    std::string x(const std::string& command) { return Output("DISPLAY=" + server.display() + " " + command); }
    // The saver's visible top-level window, once it shows.
    std::string saverWindow() {
        for (int i = 0; i < 1000; ++i) {
            std::string id = x("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null");
            if (!id.empty()) return id.substr(0, id.find('\n'));
            if (!runtimetest::Alive(pid)) break;
            Pause(10);
        }
        return {};
    }

    // Two pictures of the window a fraction of a second apart, once it shows
    // a picture (slow under sanitizers on a loaded machine).
    std::pair<Screenshot, Screenshot> twoShots(const std::string& window) {
        Pause(1500);  // the drawing thread is under way
        Screenshot first = Grab(server.display(), window);
        for (int i = 0; i < 40 && first.blank() && runtimetest::Alive(pid); ++i) {
            Pause(250);
            first = Grab(server.display(), window);
        }
        if (first.blank() && runtimetest::Alive(pid)) {
            std::fprintf(stderr, "no picture yet; the program's threads:\n");
            runtimetest::PrintThreads(pid);
        }
        Pause(300);
        return {first, Grab(server.display(), window)};
    }
    void expectAnimated(const std::pair<Screenshot, Screenshot>& shots, int width, int height) {
        EXPECT_EQ(shots.first.width, width);
        EXPECT_EQ(shots.first.height, height);
        EXPECT_FALSE(shots.first.blank());
        EXPECT_GT(shots.first.differences(shots.second), 0u) << "the colours did not change";
    }

    testsupport::ScopedPlatformRoot root;
    testsupport::XServer server;
    pid_t pid = -1;
};

TEST_F(EndToEndTest, AFullScreenRunAnimatesAndEndsOnAKey) {
    start({"/s"});
    std::string window = saverWindow();
    ASSERT_FALSE(window.empty()) << "no saver window appeared";
    auto shots = twoShots("root");
    EXPECT_TRUE(runtimetest::Alive(pid));

    x("xdotool windowfocus --sync " + window + " key a");
    EXPECT_EQ(runtimetest::WaitExit(pid, 10000), 0);
    pid = -1;
    DisplayList list;
    ListDisplays(&list, FALSE);
    EXPECT_EQ(list.names.size(), 10u);
    EXPECT_EQ(active(), "[D] Bezier");
    expectAnimated(shots, 640, 480);
}

TEST_F(EndToEndTest, APreviewTakesTheSizeOfItsHostWindow) {
    runtimetest::XWindow host(server.display(), 320, 200);
    ASSERT_TRUE(host.valid());
    start({"/p", std::to_string(host.id())});
    auto waitForSize = [&](int width, int height) {
        int w = 0, h = 0;
        for (int i = 0; i < 1000; ++i) {
            if (host.childSize(&w, &h) && w == width && h == height) return true;
            Pause(10);
        }
        ADD_FAILURE() << "preview is " << w << "x" << h << ", not " << width << "x" << height;
        return false;
    };
    EXPECT_TRUE(waitForSize(320, 200));
    auto shots = twoShots(std::to_string(host.id()));
    host.resize(400, 300);
    EXPECT_TRUE(waitForSize(400, 300));
    EXPECT_TRUE(runtimetest::Alive(pid));

    kill(pid, SIGTERM);
    EXPECT_EQ(runtimetest::WaitExit(pid, 10000), 0);
    pid = -1;
    expectAnimated(shots, 320, 200);
}

TEST_F(EndToEndTest, SigtermEndsATestRunAndRestoresActive) {
    std::string file = (root.path() / "Night Sky.LUM").string();
    ASSERT_TRUE(WriteSettingsFile(DisplayKeyPath("[D] Star").c_str(), file.c_str()));
    start({"/s", file});
    for (int i = 0; i < 1000 && active() != "Testing Current Settings"; ++i) Pause(10);
    ASSERT_EQ(active(), "Testing Current Settings");
    ASSERT_FALSE(saverWindow().empty());

    kill(pid, SIGTERM);
    EXPECT_EQ(runtimetest::WaitExit(pid, 10000), 0);
    pid = -1;
    EXPECT_EQ(active(), "[D] Bezier");
    EXPECT_FALSE(KeyExists(DisplayKeyPath("Testing Current Settings").c_str()));
}

TEST(ProgramSwitches, HelpAndVersionAnswerWithoutADisplayAndAMistypedOptionFails) {
    auto run = [](const std::string& arguments) {
        return runtimetest::Output("env -u DISPLAY -u WAYLAND_DISPLAY '" LUMORA_PROGRAM "' " + arguments +
                                   " 2>&1; echo \"exit=$?\"");
    };
    std::string help = run("--help");
    EXPECT_EQ(help.rfind("usage: lumora", 0), 0u) << help;
    EXPECT_NE(help.find("--render FILE"), std::string::npos);
    EXPECT_NE(help.find("exit=0"), std::string::npos);
    EXPECT_EQ(run("--version"), "lumora " LUMORA_VERSION "\nexit=0\n");
    // Not the settings program, as any unknown switch used to open.
    std::string bogus = run("--bogus");
    EXPECT_EQ(bogus.rfind("lumora: unknown option \"--bogus\"\nusage: lumora", 0), 0u) << bogus;
    EXPECT_NE(bogus.find("exit=1"), std::string::npos);
}

TEST(ProgramSwitches, AnInstalledProgramJoinsTheUsersXScreenSaverListAndLeavesItAsItWas) {
    testsupport::TempDir home;
    const std::string file = (home.path() / ".xscreensaver").string();
    const std::string before = "mode:\t\trandom\nprograms:\t\\\n  maze --root \\n\\\n  attraction --root \\n\n";
    std::ofstream(file) << before;
    auto run = [&](const char* option) {
        return runtimetest::Output("env HOME='" + home.path().string() + "' '" LUMORA_PROGRAM "' " + option +
                                   " 2>&1; echo \"exit=$?\"");
    };
    auto contents = [&] {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(run("--add-to-xscreensaver").find("exit=0"), std::string::npos);
    const std::string added = contents();
    EXPECT_NE(added.find("\"Lumora\" " LUMORA_PROGRAM " -root\t\\n"), std::string::npos) << added;
    EXPECT_NE(added.find("mode:\t\tone"), std::string::npos) << added;
    EXPECT_NE(run("--remove-from-xscreensaver").find("exit=0"), std::string::npos);
    EXPECT_EQ(contents(), before);
}

}  // namespace
