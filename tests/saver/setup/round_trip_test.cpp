// An installation followed by the uninstaller leaves the platform root as it
// was, but for what the uninstaller is meant to leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "uninstall/uninstall.h"
#include "wizard_fixture.h"

namespace setuptest {
namespace {

// Every key and value of a hive as lines "key" and "key|value=data".
void DumpKey(HKEY key, const std::string& path, std::set<std::string>& lines) {
    lines.insert(path);
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[2048];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS) break;
        lines.insert(path + "|" + name + "=" + std::string(reinterpret_cast<char*>(data), dataSize));
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY child = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
        DumpKey(child, path + "\\" + name, lines);
        RegCloseKey(child);
    }
}

std::set<std::string> Snapshot(const fs::path& root) {
    std::set<std::string> lines;
    DumpKey(HKEY_CURRENT_USER, "HKCU", lines);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM", lines);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = fs::relative(entry.path(), root).string();
        if (relative.rfind("registry", 0) != 0) lines.insert(relative);
    }
    return lines;
}

bool Starts(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

TEST_F(WizardTest, InstallThenUninstallLeavesOnlyWhatTheUninstallerKeeps) {
    addDisplays();
    WriteFile(source.path() / "Vexdock.EXE", "launcher");
    WriteFile(source.path() / "Slogan.TXT", "Colours in motion");
    // The Windows and system directories are the machine's, made with their
    // bitmaps on first use, before any setup.
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::set<std::string> before = Snapshot(root.path());

    open();
    chooseDestination(destination.path());
    Click(GetDlgItem(page(), IdAddConfigCopy));
    Click(GetDlgItem(page(), IdAddSavedSettings));
    next();
    ASSERT_EQ(pageIndex(), SetupPageConfigure);
    PropSheet_PressButton(sheet, PSBTN_FINISH);
    Settle();

    for (int answer : {IDYES, IDYES, IDOK}) ui->answerNextMessageBox(answer);
    EXPECT_EQ(RunUninstall(), IDOK);
    const std::set<std::string> after = Snapshot(root.path());

    std::vector<std::string> removed;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
    EXPECT_TRUE(removed.empty()) << "lost: " << removed.at(0);

    std::vector<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    std::vector<std::string> unexpected;
    for (const std::string& line : added) {
        // The saver key keeps its displays (its deletion is refused while it
        // has sub-keys); the desktop's saver values, the help and
        // SYSTEM.INI stay; so do the empty keys above those removed.
        bool kept = Starts(line, "HKCU\\Control Panel") || line == "windows/LMSCTNX.HLP" ||
                    line == "windows/SYSTEM.INI" || line == "HKLM\\Software\\Classes" ||
                    line == "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" ||
                    (Starts("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", line) && line.find('|') == line.npos);
        if (!kept) unexpected.push_back(line);
    }
    std::string list;
    for (const std::string& line : unexpected) list += "\n  " + line;
    EXPECT_TRUE(unexpected.empty()) << "left behind:" << list;
    EXPECT_TRUE(after.count("HKCU\\Control Panel\\Screen Saver.Lumora\\Saved\\[S] Sound Star"));
    char ini[MAX_PATH] = {};
    GetPrivateProfileStringA("BOOT", "SCRNSAVE.EXE", "", ini, sizeof ini, "SYSTEM.INI");
    EXPECT_STREQ(ini, "(None)");
    EXPECT_TRUE(fs::exists(destination.path() / "UnInstall.EXE")) << "the installation folder is the user's";
}

}  // namespace
}  // namespace setuptest
