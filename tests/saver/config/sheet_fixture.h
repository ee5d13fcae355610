#pragma once
// The settings sheet as the configuration entry shows it, but modeless, on
// the offscreen platform, over a fresh saver key, with a scripted user
// interface and a recorder in place of starting the program.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog/user_actions.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/scripted.h"
#include "saver/config/settings_sheet.h"
#include "saver/framework/module_table.h"
#include "saver/resources/resource_ids.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"

namespace configtest {

using namespace useraction;

inline std::vector<std::string> startedCommands;
inline UINT startResult = 33;

inline UINT RecordStart(LPCSTR commandLine, UINT) {
    startedCommands.emplace_back(commandLine);
    return startResult;
}

inline std::string ActiveValue() {
    char active[MAX_PATH] = {};
    ReadSaverValuePrefix("Active", SaverKeyWord, active, sizeof active - 1);
    return active;
}

inline bool DisplayExists(const std::string& name) { return KeyExists(DisplayKeyPath(name).c_str()) != FALSE; }

inline std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class SheetTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ensureGuiApplication());
        settings::DeleteKeyTree(HKEY_CURRENT_USER, SaverKeyPath());
        std::memset(ModuleTable, 0, sizeof ModuleTable);
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        startedCommands.clear();
        startResult = 33;
        StartProgram = RecordStart;
        TestRunning = 0;
        ui = std::make_unique<platform::ScriptedUi>();
        ASSERT_TRUE(OpenSettings(nullptr));
    }
    void TearDown() override {
        if (IsWindow(sheet)) DestroyWindow(sheet);
        CloseSettings();
        Settle();
        StartProgram = WinExec;
        ui.reset();
    }

    // Shows the sheet (at Main Settings).
    void open() {
        DescribeSettingsSheet(&header, pages, caption);
        header.dwFlags |= PSH_MODELESS;
        sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
        ASSERT_NE(sheet, nullptr);
        platform::widgetForWindow(sheet)->activateWindow();
        Settle();
    }
    // Shows the page with this index and returns it.
    HWND page(int index) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        return PropSheet_GetCurrentPageHwnd(sheet);
    }
    // The user comes back to the sheet.
    void reactivate() { SendMessageA(sheet, WM_ACTIVATE, WA_ACTIVE, 0); }
    void pressOk() { PropSheet_PressButton(sheet, PSBTN_OK); }

    std::unique_ptr<platform::ScriptedUi> ui;
    PROPSHEETHEADERA header{};
    PROPSHEETPAGEA pages[SettingsPageCount]{};
    char caption[64] = {};
    HWND sheet = nullptr;
};

}  // namespace configtest
