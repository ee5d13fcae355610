// Windows of other programs found by title and class on a real X server, and
// asked to close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32.h"
#include "support/x_server.h"
#include "x_host.h"

namespace {

TEST(FindWindow, FindsOtherProgramsWindowsByTitleOrClassAndAsksThemToClose) {
    testsupport::XServer xvfb;
    std::string why;
    if (!xvfb.start(320, 240, &why)) GTEST_SKIP() << "no X server for the test: " << why;
    const char* previous = std::getenv("DISPLAY");
    std::string saved = previous ? previous : "";
    setenv("DISPLAY", xvfb.display().c_str(), 1);

    EXPECT_EQ(FindWindowA(nullptr, "Screen Saver Vexdock"), nullptr);
    unsigned long launcher = xhost::CreateNamedWindow("Screen Saver Vexdock V2.5", "SS Vexdock v3.0");
    ASSERT_NE(launcher, 0u);

    // Titles and classes compare without regard to case, and whole: a
    // title that only begins the window's is no match.
    HWND byTitle = FindWindowA(nullptr, "screen saver vexdock v2.5");
    ASSERT_NE(byTitle, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Screen Saver Vexdock"), nullptr);
    EXPECT_EQ(FindWindowA("ss vexdock V3.0", nullptr), byTitle);
    EXPECT_EQ(FindWindowA("SS Vexdock v3.0", "Screen Saver Vexdock V2.5"), byTitle);
    EXPECT_EQ(FindWindowA("Other Class", "Screen Saver Vexdock V2.5"), nullptr);
    EXPECT_FALSE(IsWindow(byTitle)) << "another program's window is none of ours";

    EXPECT_FALSE(xhost::CloseRequested(launcher));
    EXPECT_TRUE(PostMessageA(byTitle, WM_CLOSE, 0, 0));
    EXPECT_TRUE(xhost::CloseRequested(launcher));
    EXPECT_FALSE(PostMessageA(byTitle, WM_USER, 0, 0));

    xhost::EndNamedWindows();
    EXPECT_EQ(FindWindowA(nullptr, "Screen Saver Vexdock V2.5"), nullptr);
    EXPECT_FALSE(PostMessageA(byTitle, WM_CLOSE, 0, 0)) << "the window has gone";

    if (previous) setenv("DISPLAY", saved.c_str(), 1);
    else unsetenv("DISPLAY");
}

TEST(ScreenSaveActive, IsKeptForTheSessionAndWrittenToTheProfileOnRequest) {
    BOOL active = TRUE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    EXPECT_FALSE(active) << "a fresh profile has the screen saver off";

    ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0));
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    EXPECT_TRUE(active);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key), ERROR_SUCCESS)
        << "without SPIF_UPDATEINIFILE the profile is not written";

    ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE));
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key), ERROR_SUCCESS);
    char value[8] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ScreenSaveActive", nullptr, &type, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_STREQ(value, "1");
}

}  // namespace
