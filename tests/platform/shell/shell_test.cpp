// The Windows and system directories, the desktop and startup folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/kernel/root.h"
#include "platform/shell/folders.h"
#include "platform/shell/shell.h"
#include "support/temp_dir.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (old) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(ShellDirectories, AreCreatedUnderThePlatformRootWithWin32BufferSizes) {
    testsupport::ScopedPlatformRoot root;
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    std::string windows = (root.path() / "windows").string();
    EXPECT_EQ(std::string(buffer), windows);
    EXPECT_EQ(length, windows.size());
    EXPECT_TRUE(std::filesystem::is_directory(windows));

    length = GetSystemDirectoryA(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), windows + "/system");
    EXPECT_EQ(length, windows.size() + 7);
    EXPECT_TRUE(std::filesystem::is_directory(windows + "/system"));

    // Too small, even by just the terminating zero: the size needed with it,
    // and the buffer untouched.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetWindowsDirectoryA(small, static_cast<UINT>(windows.size())), windows.size() + 1);
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), windows.size() + 8);
}

TEST(ShellDirectories, ReportFailureWhenTheRootCannotBeMade) {
    testsupport::TempDir dir;
    std::string blocker = dir.str() + "/file";
    std::ofstream(blocker) << "not a directory";
    ScopedEnv root("LUMORA_ROOT", blocker);
    char buffer[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
}

TEST(ShellFolders, DesktopFollowsUserDirsAndFallsBackToHomeDesktop) {
    testsupport::TempDir dir;
    ScopedEnv home("HOME", dir.str());
    ScopedEnv config("XDG_CONFIG_HOME", dir.str() + "/cfg");
    EXPECT_EQ(platform::DesktopDirectory(), dir.str() + "/Desktop");
    EXPECT_EQ(platform::StartupDirectory(), dir.str() + "/cfg/autostart");

    std::filesystem::create_directories(dir.path() / "cfg");
    std::ofstream(dir.path() / "cfg/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                      << "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                                      << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(platform::DesktopDirectory(), dir.str() + "/Schreibtisch");

    std::ofstream(dir.path() / "cfg/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"/srv/desk/\"\n";
    EXPECT_EQ(platform::DesktopDirectory(), "/srv/desk");

    // A line the format does not allow (unquoted, relative) keeps the default.
    std::ofstream(dir.path() / "cfg/user-dirs.dirs") << "XDG_DESKTOP_DIR=desk\n";
    EXPECT_EQ(platform::DesktopDirectory(), dir.str() + "/Desktop");
}

TEST(ShellNotify, IsHarmlessForEveryEventKind) {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSH, nullptr, nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, "/tmp", nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, nullptr, nullptr);
}

}  // namespace

namespace {

TEST(DesktopEntry, RunsTheProgramWhateverItsPathHoldsAndIsExecutable) {
    testsupport::TempDir folder;
    const std::string program = folder.str() + "/my $dir \"x\" 100%/LMSC.EXE";
    ASSERT_TRUE(platform::WriteDesktopEntry(folder.str().c_str(), "LMSC", "Lumora\nSettings", program.c_str()));
    const std::string path = folder.str() + "/LMSC.desktop";
    std::ifstream file(path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nName=Lumora Settings\n"), std::string::npos) << "a line break would start a new key";
    // Quoted whole; $ and " escaped for the Exec rules (then the backslash
    // doubled for the string rules); % doubled.
    EXPECT_NE(text.find("\nExec=\"" + folder.str() + "/my \\\\$dir \\\\\"x\\\\\" 100%%/LMSC.EXE\"\n"),
              std::string::npos)
        << text;
    // Plain when nothing needs quotes, for launchers that take the key's
    // first word as the program.
    EXPECT_EQ(platform::DesktopExecQuoted("/opt/100%/LUMORA.SCR"), "/opt/100%%/LUMORA.SCR");
    EXPECT_NE(std::filesystem::status(path).permissions() & std::filesystem::perms::owner_exec,
              std::filesystem::perms::none);

    EXPECT_FALSE(platform::WriteDesktopEntry((folder.str() + "/missing").c_str(), "LMSC", "x", program.c_str()));
}

}  // namespace
