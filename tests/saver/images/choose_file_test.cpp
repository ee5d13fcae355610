// The plain file dialog as the palette page and the settings files use it,
// answered by the scripted UI.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/active_window.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/scripted.h"
#include "platform/win32.h"
#include "saver/images/choose_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class ChooseFileTest : public testing::Test {
protected:
    void SetUp() override { RememberedDirectory[0] = 0; }
    void TearDown() override {
        fs::current_path(cwd_);
        RememberedDirectory[0] = 0;
    }

    std::string touch(const std::string& name) {
        std::ofstream(dir_.path() / name) << "x";
        return (dir_.path() / name).string();
    }

    static std::string windowsDirectory() {
        char buffer[MAX_PATH] = "";
        GetWindowsDirectoryA(buffer, MAX_PATH);
        return buffer;
    }

    testsupport::TempDir dir_;
    fs::path cwd_ = fs::current_path();
    platform::ScriptedUi ui_;
};

TEST_F(ChooseFileTest, OpenAsksForTheMaskAndRemembersTheDirectory) {
    std::string chosen = touch("Sunset.PAL");
    ui_.pickFiles({chosen});
    char buffer[MAX_PATH] = "";

    ASSERT_EQ(ChooseFile(buffer, "*.PAL", FALSE), 1);
    EXPECT_STREQ(buffer, chosen.c_str());
    EXPECT_STREQ(RememberedDirectory, dir_.str().c_str());

    auto dialogs = ui_.fileDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    const platform::FileDialogRequest& r = dialogs[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.filters, (std::vector<platform::FileFilter>{{"*.PAL", " *.PAL"}, {"All files (*.*)", " *.*"}}));
    EXPECT_EQ(r.defaultExtension, "PAL");
    ASSERT_FALSE(windowsDirectory().empty());
    EXPECT_EQ(r.initialDirectory, windowsDirectory()) << "first dialog opens in the Windows directory";
    EXPECT_EQ(r.flags, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_SHOWHELP);
    EXPECT_EQ(r.maxFile, MAX_PATH);
    EXPECT_EQ(r.initialFile, "");
}

TEST_F(ChooseFileTest, SaveProposesTheNameAndNextDialogOpensWhereTheLastEnded) {
    ui_.pickFiles({(dir_.path() / "Scratch").string()});
    char buffer[MAX_PATH] = "Scratch.PAL";
    ASSERT_EQ(ChooseFile(buffer, "*.PAL", TRUE), 1);
    EXPECT_EQ(std::string(buffer), (dir_.path() / "Scratch.PAL").string());

    ui_.cancelNextDialog();
    char next[MAX_PATH] = "";
    EXPECT_EQ(ChooseFile(next, "*.LUM", FALSE), 0);

    auto dialogs = ui_.fileDialogs();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].initialFile, "Scratch.PAL");
    EXPECT_EQ(dialogs[0].flags, OFN_EXPLORER | OFN_SHOWHELP | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(dialogs[1].initialDirectory, dir_.str());
    EXPECT_EQ(dialogs[1].defaultExtension, "LUM");
}

TEST_F(ChooseFileTest, CancelKeepsTheRememberedDirectory) {
    std::strcpy(RememberedDirectory, "/somewhere/else");
    fs::current_path(dir_.path());
    ui_.cancelNextDialog();
    char buffer[MAX_PATH] = "keep me";
    EXPECT_EQ(ChooseFile(buffer, "*.LUM", TRUE), 0);
    EXPECT_STREQ(RememberedDirectory, "/somewhere/else");
    EXPECT_STREQ(buffer, "keep me");
    EXPECT_EQ(ui_.fileDialogs().at(0).initialDirectory, "/somewhere/else");
}

TEST_F(ChooseFileTest, SeveralSettingsFilesComeAsDirectoryThenNames) {
    ui_.pickFiles({touch("Night Sky.LUM"), touch("Dawn.LUM")});
    char buffer[MAX_PATH] = "/*.LUM";
    ASSERT_EQ(ChooseFile(buffer, "*.LUM", FALSE), 1);
    std::string expected = dir_.str() + std::string("\0Night Sky.LUM\0Dawn.LUM\0\0", 25);
    EXPECT_EQ(std::string(buffer, expected.size()), expected);
    EXPECT_STREQ(RememberedDirectory, dir_.str().c_str());
}

TEST_F(ChooseFileTest, TheDialogBelongsToTheActiveWindow) {
    ASSERT_TRUE(platform::ensureGuiApplication());
    ActiveTestWindow sheet;
    ASSERT_EQ(GetActiveWindow(), sheet.handle());
    ui_.cancelNextDialog();
    char buffer[MAX_PATH] = "";
    EXPECT_EQ(ChooseFile(buffer, "*.LUM", TRUE), 0);
    ASSERT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_EQ(ui_.fileDialogs()[0].owner, sheet.handle());
}

}  // namespace
