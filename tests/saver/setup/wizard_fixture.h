#pragma once
// The setup wizard, modeless on the offscreen platform, over a platform root
// of its own whose desktop and autostart folders lie inside it and a home
// of its own for the desktop's files and xscreensaver's, installing
// from a source folder the test fills, with a scripted user and a recorder
// in place of starting programs.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog/user_actions.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/qt_windows.h"
#include "platform/ui/scripted.h"
#include "saver/resources/resource_ids.h"
#include "saver/settings/registry_access.h"
#include "saver/setup/setup.h"
#include "support/temp_dir.h"

namespace setuptest {

namespace fs = std::filesystem;
using namespace useraction;

inline std::vector<std::string> started;

inline UINT RecordStart(LPCSTR commandLine, UINT) {
    started.emplace_back(commandLine);
    return 33;
}

inline void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

inline std::string ReadFile(const fs::path& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline std::string Text(HWND window) {
    char text[MAX_PATH] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string StringValue(HKEY root, const char* key, const char* name) {
    HKEY open = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &open) != ERROR_SUCCESS) return "<no key>";
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    LONG status = RegQueryValueExA(open, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(open);
    return status == ERROR_SUCCESS ? std::string(value) : "<no value>";
}

class WizardTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ensureGuiApplication());
        ui = std::make_unique<platform::ScriptedUi>();
        started.clear();
        SetupStartProgram = RecordStart;
        desktop = root.path() / "Desktop";
        startup = root.path() / "autostart";
        fs::create_directories(desktop);
        fs::create_directories(startup);
        const char* folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
        WriteStringValue(HKEY_CURRENT_USER, folders, "Desktop", desktop.c_str());
        WriteStringValue(HKEY_CURRENT_USER, folders, "Startup", startup.c_str());
        for (const char* name : {"UnInstall.EXE", "Setup.EXE", "ReadMe.TXT", "License.TXT", "File_ID.DIZ",
                                 "LMSCTNX.HLP"})
            WriteFile(source.path() / name, name);
        OpenSetup();
        std::snprintf(SourceDirectory, sizeof SourceDirectory, "%s/", source.str().c_str());
    }
    void TearDown() override {
        if (IsWindow(sheet)) DestroyWindow(sheet);
        Settle();
        SetupStartProgram = WinExec;
        ui.reset();
    }

    // Two of the displays shipped.
    void addDisplays() {
        for (const char* name : {"[S] Sound Sphere.LUM", "[S] Sound Star.LUM"})
            fs::copy_file(fs::path(LUMORA_DISPLAYS) / name, source.path() / name);
    }
    void open() {
        DescribeSetupWizard(&header, pages, caption);
        header.dwFlags |= PSH_MODELESS;
        sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
        ASSERT_NE(sheet, nullptr);
        Settle();
    }
    HWND page() { return PropSheet_GetCurrentPageHwnd(sheet); }
    int pageIndex() { return static_cast<int>(GetWindowLongPtrA(page(), GWLP_USERDATA)); }
    void next() {
        PropSheet_PressButton(sheet, PSBTN_NEXT);
        Settle();
    }
    // Page 0 with this destination typed, then Next.
    void chooseDestination(const fs::path& folder) {
        Type(GetDlgItem(page(), IdDestination), QString::fromStdString(folder.string()));
        next();
    }
    // Every position the progress bar of the Options page takes from now on.
    void recordProgress() {
        auto* bar = Widget<QProgressBar>(GetDlgItem(page(), IdInstallProgress));
        ASSERT_NE(bar, nullptr);
        QObject::connect(bar, &QProgressBar::valueChanged, [this](int value) { progress.push_back(value); });
    }
    // From a fresh Options page through the installation to page 2.
    void installTo(const fs::path& folder) {
        open();
        chooseDestination(folder);
        ASSERT_EQ(pageIndex(), SetupPageOptions);
        recordProgress();
        next();
    }

    testsupport::ScopedPlatformRoot root;
    testsupport::ScopedHome home;
    testsupport::TempDir source{"lumora-setup-source"};
    testsupport::TempDir destination{"lumora-setup-destination"};
    fs::path desktop;
    fs::path startup;
    std::unique_ptr<platform::ScriptedUi> ui;
    std::vector<int> progress;
    PROPSHEETHEADERA header{};
    PROPSHEETPAGEA pages[SetupPageCount]{};
    char caption[64] = {};
    HWND sheet = nullptr;
};

}  // namespace setuptest
