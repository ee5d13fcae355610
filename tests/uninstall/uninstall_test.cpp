// The uninstaller's run with a scripted user, over a platform root whose
// desktop and autostart folders lie inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/scripted.h"
#include "platform/win32.h"
#include "support/temp_dir.h"
#include "uninstall/uninstall.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

bool KeyThere(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void CreateKey(HKEY root, const char* path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

class UninstallTest : public testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        GetSystemDirectoryA(folder, MAX_PATH);
        system = folder;
        GetWindowsDirectoryA(folder, MAX_PATH);
        windows = folder;
        desktop = root.path() / "Desktop";
        startup = root.path() / "autostart";
        fs::create_directories(desktop / "LMSC - Saved Settings");
        fs::create_directories(startup);
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(desktop.c_str()),
                       static_cast<DWORD>(desktop.string().size() + 1));
        RegSetValueExA(key, "Startup", 0, REG_SZ, reinterpret_cast<const BYTE*>(startup.c_str()),
                       static_cast<DWORD>(startup.string().size() + 1));
        RegCloseKey(key);

        // What setup and the saver leave, with an older release's saver file.
        Touch(system / "LUMORA.SCR");
        Touch(system / "Vexdock.EXE");
        Touch(windows / "LMPlasma.SCR");
        Touch(windows / "LMSCTNX.HLP");
        Touch(startup / "Vexdock.EXE");
        Touch(desktop / "LMSC.EXE");
        CreateKey(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora\\Saved\\Night");
        CreateKey(HKEY_CLASSES_ROOT, ".LUM");
        CreateKey(HKEY_CLASSES_ROOT, "Lumora\\shell\\open\\command");
        CreateKey(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon");
        CreateKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora");
    }

    std::string bootSaver() {
        char value[MAX_PATH] = {};
        GetPrivateProfileStringA("BOOT", "SCRNSAVE.EXE", "<none>", value, sizeof value, "SYSTEM.INI");
        return value;
    }

    testsupport::ScopedPlatformRoot root;
    testsupport::ScopedHome home;
    platform::ScriptedUi ui;
    fs::path system, windows, desktop, startup;
};

TEST_F(UninstallTest, NoAtTheFirstQuestionTouchesNothing) {
    ui.answerNextMessageBox(IDNO);
    EXPECT_EQ(RunUninstall(), 0);
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].caption, "UnInstall");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Are you sure you want to remove the Lumoric Screen Saver from your system?");
    EXPECT_EQ(ui.messageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
    for (const fs::path& file : {system / "LUMORA.SCR", system / "Vexdock.EXE", windows / "LMPlasma.SCR",
                                 startup / "Vexdock.EXE", desktop / "LMSC.EXE"})
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_TRUE(KeyThere(HKEY_CLASSES_ROOT, "Lumora\\shell\\open\\command"));
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora"));
    EXPECT_EQ(bootSaver(), "<none>");
}

TEST_F(UninstallTest, RemovesWhatItNamesKeepsTheLauncherWhenToldAndRunsTwiceAlike) {
    Touch(desktop / "LMSC - Saved Settings" / "Night.LUM");
    for (int run = 0; run < 2; ++run) {
        ui.answerNextMessageBox(IDYES);
        ui.answerNextMessageBox(IDNO);
        ui.answerNextMessageBox(IDOK);
        EXPECT_EQ(RunUninstall(), IDOK) << "run " << run;
    }
    auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[1].caption, "UnInstall Vexdock");
    EXPECT_EQ(boxes[1].text, "Do you wish to uninstall the taskbar screen saver launcher?");
    for (int last : {2, 5}) {
        EXPECT_EQ(boxes[last].caption, "UnInstall Complete");
        EXPECT_EQ(boxes[last].text, "The Lumoric Screen Saver has been removed.");
        EXPECT_EQ(boxes[last].type, MB_OK | MB_ICONINFORMATION);
    }

    // Named "Lumora.SCR", setup's "LUMORA.SCR" goes all the same.
    for (const fs::path& gone : {system / "LUMORA.SCR", system / "Vexdock.EXE", windows / "LMPlasma.SCR",
                                 desktop / "LMSC.EXE", desktop / "LMSC - Saved Settings"})
        EXPECT_FALSE(fs::exists(gone)) << gone;
    EXPECT_TRUE(fs::exists(startup / "Vexdock.EXE")) << "the user kept the launcher";
    EXPECT_TRUE(fs::exists(windows / "LMSCTNX.HLP"));
    for (const char* key : {".LUM", "Lumora"}) EXPECT_FALSE(KeyThere(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora"));
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora\\Saved\\Night"))
        << "one deletion call, refused for a key with sub-keys";
    EXPECT_EQ(bootSaver(), "(None)");
}

TEST_F(UninstallTest, ASavedSettingsFolderWithoutSettingsFilesStays) {
    Touch(desktop / "LMSC - Saved Settings" / "notes.txt");
    Touch(desktop / "Other.LUM");
    ui.answerNextMessageBox(IDYES);
    ui.answerNextMessageBox(IDYES);
    ui.answerNextMessageBox(IDOK);
    EXPECT_EQ(RunUninstall(), IDOK);
    EXPECT_TRUE(fs::exists(desktop / "LMSC - Saved Settings" / "notes.txt"));
    EXPECT_TRUE(fs::exists(desktop / "Other.LUM")) << "only the folder's settings files go";
    EXPECT_FALSE(fs::exists(startup / "Vexdock.EXE"));
}

}  // namespace
