// WinHelpA over an index of HTML pages: which page the browser is given.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/scripted.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

class WinHelp : public testing::Test {
protected:
    void SetUp() override {
        char buffer[MAX_PATH];
        ASSERT_GT(GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
        windows = buffer;
        fs::create_directories(windows / "guide");
        std::ofstream(windows / "GUIDE.HLP") << "# keyword\tpage\r\n"
                                               "contents\tguide/index.html\r\n"
                                               "The Saver - Main Settings\tguide/main.html\r\n"
                                               "broken\tguide/missing.html\r\n";
        for (const char* page : {"index.html", "main.html"}) std::ofstream(windows / "guide" / page) << "<html>";
    }
    fs::path page(const char* name) { return windows / "guide" / name; }

    fs::path windows;
    platform::ScriptedUi ui;
};

TEST_F(WinHelp, OpensTheKeywordsPageOrTheContents) {
    EXPECT_TRUE(WinHelpA(nullptr, "GUIDE.HLP", HELP_KEY, reinterpret_cast<ULONG_PTR>("the saver - MAIN settings")));
    EXPECT_TRUE(WinHelpA(nullptr, "GUIDE.HLP", HELP_KEY, reinterpret_cast<ULONG_PTR>("Palette")));
    std::string full = (windows / "GUIDE.HLP").string();
    EXPECT_TRUE(WinHelpA(nullptr, full.c_str(), HELP_CONTENTS, 0));
    EXPECT_TRUE(WinHelpA(nullptr, full.c_str(), HELP_QUIT, 0));
    EXPECT_EQ(ui.openedDocuments(),
              (std::vector<std::string>{page("main.html").string(), page("index.html").string(),
                                        page("index.html").string()}));
}

TEST_F(WinHelp, FailsWithoutTheIndexOrThePage) {
    EXPECT_FALSE(WinHelpA(nullptr, "NONE.HLP", HELP_CONTENTS, 0));
    EXPECT_FALSE(WinHelpA(nullptr, "GUIDE.HLP", HELP_KEY, reinterpret_cast<ULONG_PTR>("broken")));
    EXPECT_FALSE(WinHelpA(nullptr, nullptr, HELP_CONTENTS, 0));
    EXPECT_TRUE(ui.openedDocuments().empty());
}

}  // namespace
