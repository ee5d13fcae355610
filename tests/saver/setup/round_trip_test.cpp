// An installation followed by the uninstaller leaves the platform root as it
// was, but for what the uninstaller is meant to leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/desktop/desktop.h"
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

// Every file and folder under the home with its bytes.
std::map<std::string, std::string> HomeTree(const fs::path& home) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        tree[fs::relative(entry.path(), home).string()] = entry.is_directory() ? "<folder>" : ReadFile(entry.path());
    return tree;
}

// What differs between two trees, one name a line.
std::string Changes(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after) {
    std::string changes;
    for (const auto& [name, bytes] : before) {
        auto now = after.find(name);
        if (now == after.end()) changes += "lost " + name + "\n";
        else if (now->second != bytes) changes += "changed " + name + "\n";
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) changes += "left " + name + "\n";
    return changes;
}

void RunTool(const std::string& tool, const fs::path& folder) {
    ASSERT_FALSE(platform::FindProgram(tool).empty()) << tool << " is missing: scripts/deps.sh installs it";
    ASSERT_EQ(std::system((tool + " '" + folder.string() + "' >/dev/null 2>&1").c_str()), 0) << tool;
}

TEST_F(WizardTest, InstallThenUninstallLeavesOnlyWhatTheUninstallerKeeps) {
    addDisplays();
    WriteFile(source.path() / "Vexdock.EXE", "launcher");
    WriteFile(source.path() / "Slogan.TXT", "Colours in motion");
    // The Windows and system directories are the machine's, made with their
    // bitmaps on first use, before any setup.
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::set<std::string> before = Snapshot(root.path());
    ASSERT_TRUE(HomeTree(home.path()).empty());

    open();
    chooseDestination(destination.path());
    Click(GetDlgItem(page(), IdAddConfigCopy));
    Click(GetDlgItem(page(), IdAddSavedSettings));
    next();
    ASSERT_EQ(pageIndex(), SetupPageConfigure);
    PropSheet_PressButton(sheet, PSBTN_FINISH);
    Settle();
    // The default saver was ticked: xscreensaver gets a file of its own.
    EXPECT_TRUE(fs::exists(home.path() / ".xscreensaver"));
    EXPECT_TRUE(fs::exists(home.path() / ".local/share/applications/lumora-display.desktop"));

    for (int answer : {IDYES, IDYES, IDOK}) ui->answerNextMessageBox(answer);
    EXPECT_EQ(RunUninstall(), IDOK);
    const std::set<std::string> after = Snapshot(root.path());
    EXPECT_EQ(Changes({}, HomeTree(home.path())), "") << "the home was empty";

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

TEST_F(WizardTest, TheUsersXScreenSaverAndDesktopFilesComeBackByteForByte) {
    const fs::path data = home.path() / ".local/share";
    const std::string preferences =
        "# XScreenSaver Preferences File\n"
        "timeout:\t0:10:00\n"
        "mode:\t\trandom\n"
        "selected:\t1\n"
        "programs:\t\t\t\t\t\t\t      \\\n"
        "\t\t\t\tmaze -root\t\t\t\t    \\n\\\n"
        "  - GL: \t\t\t\tsuperquadrics -root\t\t\t    \\n\\\n"
        "\t\t\t\t\"Probe\" probe -root\t\t\t    \\n\\\n"
        "\n"
        "\n"
        "pointerPollTime:\t0:00:05\n";
    WriteFile(home.path() / ".xscreensaver", preferences);
    fs::create_directories(data / "mime/packages");
    fs::create_directories(data / "applications");
    WriteFile(data / "mime/packages/other.xml",
              "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"text/x-other\"><glob pattern=\"*.oth\"/></mime-type>\n</mime-info>\n");
    WriteFile(data / "applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\nMimeType=text/x-other;\n");
    ASSERT_NO_FATAL_FAILURE(RunTool("update-mime-database", data / "mime"));
    ASSERT_NO_FATAL_FAILURE(RunTool("update-desktop-database", data / "applications"));
    const auto before = HomeTree(home.path());

    open();
    chooseDestination(destination.path());
    next();
    ASSERT_EQ(pageIndex(), SetupPageConfigure);
    char saver[MAX_PATH];
    ASSERT_TRUE(SaverPath(saver, sizeof saver));
    const std::string installed = ReadFile(home.path() / ".xscreensaver");
    EXPECT_NE(installed.find("  \"Lumora\" " + std::string(saver) + " -root\t\\n\\\n\n\npointerPollTime"),
              std::string::npos)
        << installed;
    EXPECT_NE(installed.find("mode:\t\tone\nselected:\t3\n"), std::string::npos) << "the fourth program";
    EXPECT_NE(ReadFile(data / "mime/globs2").find(":application/x-lumora-display:*.lum"), std::string::npos);
    const std::string cache = ReadFile(data / "applications/mimeinfo.cache");
    EXPECT_NE(cache.find("application/x-lumora-display=lumora-display.desktop;"), std::string::npos) << cache;
    EXPECT_NE(cache.find("text/x-other=other.desktop;"), std::string::npos) << cache;
    EXPECT_NE(ReadFile(data / "applications/lumora-display.desktop").find("\nExec=" + std::string(saver) + " /s %f\n"),
              std::string::npos);
    EXPECT_NE(ReadFile(data / "applications/lumora.desktop").find("\nExec=" + std::string(saver) + " /c\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(data / "icons/hicolor/scalable/apps/lumora.svg"), ReadFile(fs::path(LUMORA_DESKTOP) / "lumora.svg"));

    for (int answer : {IDYES, IDYES, IDOK}) ui->answerNextMessageBox(answer);
    EXPECT_EQ(RunUninstall(), IDOK);
    EXPECT_EQ(Changes(before, HomeTree(home.path())), "");
}

}  // namespace
}  // namespace setuptest
