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
