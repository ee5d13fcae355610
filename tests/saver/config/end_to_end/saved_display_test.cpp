// A display edited on a module page and saved under a new name on the Main
// Settings page, then shown by the program itself: the saver draws with the
// edited value.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "platform/ui/dialog/user_actions.h"
#include "platform/ui/qt_session.h"
#include "saver/config/settings_sheet.h"
#include "saver/framework/module_table.h"
#include "saver/resources/resource_ids.h"
#include "saver/runtime/saver_proc.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"
#include "support/temp_dir.h"
#include "support/x_server.h"
#include "saver/runtime/program.h"

namespace {

using namespace useraction;

constexpr int PolygonPage = 4;
constexpr int XTilingSlot = 4;
constexpr int TileTypeSlot = 6;
constexpr int Width = 640;
constexpr int Height = 480;

std::string ActiveValue() {
    char active[MAX_PATH] = {};
    ReadSaverValuePrefix("Active", SaverKeyWord, active, sizeof active - 1);
    return active;
}

// Lit pixels in the columns [from, to) of the picture.
std::size_t LitPixels(const runtimetest::Screenshot& shot, int from, int to) {
    std::size_t lit = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = from; x < to; ++x) {
            const auto* pixel = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
            lit += pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0;
        }
    return lit;
}

class SavedDisplayEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        std::string why;
        ASSERT_TRUE(server.start(Width, Height, &why)) << why;
        // This program's windows go to the private server, like the saver's.
        setenv("DISPLAY", server.display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        ASSERT_TRUE(platform::ensureGuiApplication());
        InstallSettingsStore();
        BuildModuleTable();  // the first-run displays
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, "[D] Polygon", sizeof "[D] Polygon");
    }

    // The saver on the active display, full screen, for a while; then its
    // picture.
    runtimetest::Screenshot runSaver() {
        std::string suppressions = (root.path() / "lsan.supp").string();
        std::ofstream(suppressions) << "leak:libdbus-1.so\n";
        pid_t pid = runtimetest::Spawn({LUMORA_PROGRAM, "/s"}, {{"LUMORA_ROOT", root.path().string()},
                                                                 {"DISPLAY", server.display()},
                                                                 {"QT_QPA_PLATFORM", "xcb"},
                                                                 {"LSAN_OPTIONS", "suppressions=" + suppressions}});
        EXPECT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        runtimetest::Screenshot shot = runtimetest::Grab(server.display(), "root");
        kill(pid, SIGTERM);
        EXPECT_EQ(runtimetest::WaitExit(pid, 10000), 0);
        return shot;
    }

    testsupport::ScopedPlatformRoot root;
    testsupport::XServer server;
};

TEST_F(SavedDisplayEndToEnd, TheSaverDrawsWithTheValuesChangedOnAModulePage) {
    runtimetest::Screenshot before = runSaver();
    ASSERT_EQ(before.width, Width);
    ASSERT_GT(LitPixels(before, 0, Width / 4), 0u) << "the polygons fill the whole screen at first";

    ASSERT_TRUE(OpenSettings(nullptr));
    char caption[64];
    PROPSHEETPAGEA pages[SettingsPageCount];
    PROPSHEETHEADERA header;
    DescribeSettingsSheet(&header, pages, caption);
    header.dwFlags |= PSH_MODELESS;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    ASSERT_NE(sheet, nullptr);
    // Typing reaches an edit, and leaving it counts, only in the active window.
    QWidget* window = platform::widgetForWindow(sheet);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // Two tiles side by side, of which only the odd one is drawn: the left
    // half of the screen stays dark but for the tips of the polygons that
    // reach over from the right.
    SendMessageA(sheet, PSM_SETCURSEL, PolygonPage, 0);
    HWND polygon = PropSheet_GetCurrentPageHwnd(sheet);
    Type(GetDlgItem(polygon, RowValueEdit + XTilingSlot), "2");
    Drag(GetDlgItem(polygon, RowValueTrack + TileTypeSlot), 1);
    SendMessageA(sheet, PSM_SETCURSEL, MainSettingsPageIndex, 0);
    HWND main = PropSheet_GetCurrentPageHwnd(sheet);
    EXPECT_EQ(IsDlgButtonChecked(main, ModuleCheckIds[ModulePolygon]), BST_CHECKED);
    Drag(GetDlgItem(main, IdTitleTrack), 0);  // no title over the dark half
    SetDlgItemTextA(main, IdDisplayList, "Half Polygon");
    Click(GetDlgItem(main, IdSaveSelection));
    PropSheet_PressButton(sheet, PSBTN_OK);
    Settle();
    if (IsWindow(sheet)) DestroyWindow(sheet);
    CloseSettings();
    ASSERT_EQ(ActiveValue(), "Half Polygon");

    runtimetest::Screenshot after = runSaver();
    ASSERT_EQ(after.width, Width);
    EXPECT_EQ(LitPixels(after, 0, Width / 4), 0u) << "the even tile is not drawn";
    EXPECT_GT(LitPixels(after, Width / 2, Width), 0u) << "the odd one is";
}

}  // namespace
