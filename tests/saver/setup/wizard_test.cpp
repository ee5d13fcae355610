// The setup wizard page by page, and what an installation leaves behind.
#include <gtest/gtest.h>

#include "platform/kernel/clock.h"
#include "saver/settings/key_paths.h"
#include "wizard_fixture.h"

namespace setuptest {
namespace {

std::string SaverFile() {
    char saver[MAX_PATH];
    EXPECT_TRUE(SaverPath(saver, sizeof saver));
    return saver;
}

TEST_F(WizardTest, DirectoryPageProposesAFolderAndRefusesAPathThatNamesAFile) {
    open();
    EXPECT_STREQ(caption, "Setup for Lumora v3.6.465");
    ASSERT_EQ(pageIndex(), SetupPageDirectory);
    const char* home = std::getenv("HOME");
    EXPECT_EQ(Text(GetDlgItem(page(), IdDestination)), std::string(home ? home : "") + "/Lumora");

    // Browse gives the folder of the file picked.
    WriteFile(destination.path() / "picked.txt", "x");
    ui->pickFiles({(destination.path() / "picked.txt").string()});
    Click(GetDlgItem(page(), IdBrowseDestination));
    EXPECT_EQ(Text(GetDlgItem(page(), IdDestination)), destination.str());
    EXPECT_EQ(ui->fileDialogs().at(0).title, "Select Destination Directory");

    const fs::path file = destination.path() / "picked.txt";
    ui->answerNextMessageBox(IDOK);
    chooseDestination(file);
    EXPECT_EQ(pageIndex(), SetupPageDirectory);
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].caption, "Invalid directory name!");
    EXPECT_EQ(ui->messageBoxes()[0].text, file.string());
    EXPECT_EQ(ui->messageBoxes()[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(fs::is_regular_file(file)) << "the file is left as it was";

    chooseDestination(destination.path() / "Lumora");
    EXPECT_EQ(pageIndex(), SetupPageOptions);
    EXPECT_TRUE(fs::is_directory(destination.path() / "Lumora"));
    EXPECT_STREQ(DestinationDirectory, (destination.path() / "Lumora").c_str());
}

TEST_F(WizardTest, WithoutAnalyserOrSettingsFilesTheOptionIsHiddenAndProgressJumpsFrom5To95) {
    open();
    chooseDestination(destination.path());
    ASSERT_EQ(pageIndex(), SetupPageOptions);
    EXPECT_EQ(IsDlgButtonChecked(page(), IdSetDefaultSaver), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IdAddLauncher), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IdAddConfigCopy), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IdAddSavedSettings), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IdInstallAnalyser), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page(), IdInstallAnalyser)));

    recordProgress();
    next();
    EXPECT_EQ(pageIndex(), SetupPageConfigure);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 95, 97, 98, 99, 100}));
    EXPECT_TRUE(started.empty()) << "no launcher, no analyser in the source folder: " << started.at(0);
    EXPECT_TRUE(fs::is_regular_file(SaverFile()));
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, SaverKeyPath().c_str(), "Slogan"), "<no value>");
}

TEST_F(WizardTest, InstallsEveryOptionAndEveryFileThenStartsTheInstalledSaver) {
    addDisplays();
    WriteFile(source.path() / "Tonalyx.EXE", "analyser");
    WriteFile(source.path() / "Vexdock.EXE", "launcher");
    WriteFile(source.path() / "Slogan.TXT", std::string(300, 's'));
    open();
    chooseDestination(destination.path());
    EXPECT_EQ(IsDlgButtonChecked(page(), IdInstallAnalyser), BST_CHECKED);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page(), IdInstallAnalyser)));
    Click(GetDlgItem(page(), IdAddConfigCopy));
    Click(GetDlgItem(page(), IdAddSavedSettings));
    recordProgress();
    next();
    ASSERT_EQ(pageIndex(), SetupPageConfigure);

    // Two settings files: 45 each from 5.
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 50, 95, 97, 98, 99, 100}));
    const std::string saver = SaverFile();
    EXPECT_EQ(started, (std::vector<std::string>{"\"" + (startup / "Vexdock.EXE").string() + "\"",
                                                 "\"" + source.str() + "/Tonalyx.EXE\" /install"}));
    EXPECT_EQ(ReadFile(startup / "Vexdock.EXE"), "launcher");
    EXPECT_TRUE(fs::exists(startup / "Vexdock.desktop"));
    EXPECT_TRUE(fs::is_regular_file(desktop / "LMSC.EXE"));
    EXPECT_TRUE(fs::exists(desktop / "LMSC.desktop"));
    for (const char* display : {"[S] Sound Sphere", "[S] Sound Star"}) {
        EXPECT_TRUE(KeyExists(DisplayKeyPath(display).c_str())) << display;
        EXPECT_TRUE(fs::exists(desktop / "LMSC - Saved Settings" / (std::string(display) + ".LUM")));
        EXPECT_TRUE(fs::exists(destination.path() / (std::string(display) + ".LUM")));
    }
    for (const char* name : {"UnInstall.EXE", "Vexdock.EXE", "Setup.EXE", "ReadMe.TXT", "File_ID.DIZ",
                             "License.TXT"})
        EXPECT_EQ(ReadFile(destination.path() / name), ReadFile(source.path() / name)) << name;
    EXPECT_FALSE(fs::exists(destination.path() / "Tonalyx.EXE"));

    EXPECT_TRUE(fs::is_regular_file(saver));
    EXPECT_EQ(StringValue(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon", nullptr), saver + ",2");
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"), saver);
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveActive"), "1");
    char ini[MAX_PATH] = {};
    GetPrivateProfileStringA("BOOT", "SCRNSAVE.EXE", "", ini, sizeof ini, "SYSTEM.INI");
    EXPECT_EQ(ini, saver);
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, SaverKeyPath().c_str(), "LumoraDir"), destination.str());
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, SaverKeyPath().c_str(), "Slogan"), std::string(255, 's'));
    const char* uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"), "The Lumoric Screen Saver");
    EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"), destination.str() + "/UnInstall.EXE");
    EXPECT_EQ(ReadFile(root.path() / "windows" / "LMSCTNX.HLP"), "LMSCTNX.HLP");

    // Configure opens xscreensaver's settings where they are installed,
    // else the saver's own sheet, as Test Drive does.
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    testsupport::TempDir tools("lumora-path");
    const fs::path settings = tools.path() / "xscreensaver-settings";
    WriteFile(settings, "#!/bin/sh\n");
    fs::permissions(settings, fs::perms::owner_all);
    started.clear();
    setenv("PATH", tools.str().c_str(), 1);
    Click(GetDlgItem(page(), IdConfigure));
    fs::remove(settings);
    Click(GetDlgItem(page(), IdConfigure));
    Click(GetDlgItem(page(), IdTestDrive));
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(started, (std::vector<std::string>{"\"" + settings.string() + "\"", "\"" + saver + "\" /C",
                                                 "\"" + saver + "\" /C"}));
}

TEST_F(WizardTest, ASaverThatCannotBeWrittenIsRetriedOnceThenReportedAndTheWizardStays) {
    fs::create_directories(SaverFile());  // a folder in its place: no copy can replace it
    platform::UseTestClock(1000);
    ui->answerNextMessageBox(IDOK);
    ui->answerNextMessageBox(IDOK);
    installTo(destination.path());
    DWORD waited = GetTickCount() - 1000;
    platform::UseRealClock();
    EXPECT_EQ(pageIndex(), SetupPageOptions);
    ASSERT_EQ(ui->messageBoxes().size(), 2u);
    EXPECT_EQ(ui->messageBoxes()[0].caption, "Close old versions");
    EXPECT_EQ(ui->messageBoxes()[0].type & MB_TYPEMASK, MB_OK);
    EXPECT_EQ(ui->messageBoxes()[1].caption, "Install Problem...");
    EXPECT_EQ(ui->messageBoxes()[1].text,
              "Unable to install. Please check to make sure that you have enough disk space (about 1MB).");
    EXPECT_GE(waited, 1000u) << "a second between the tries";
    EXPECT_EQ(StringValue(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon", nullptr), "<no key>");
}

}  // namespace
}  // namespace setuptest
