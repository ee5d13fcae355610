// Test runs: the settings on screen shown by the saver itself, and put away
// again when the user comes back to the sheet.
#include <cstring>
#include <string>

#include "saver/config/settings_sheet.h"
#include "saver/runtime/saver_proc.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/test_display.h"

DWORD SettingsModified = 0;
DWORD TestRunning = 0;
char ActiveBeforeTest[MAX_PATH] = {};
DWORD SheetOpen = 0;
HWND MainSettingsPage = nullptr;
ProgramStarter StartProgram = WinExec;

void TestAllSettings() {
    TestRunning = 1;
    ReadSaverValuePrefix("Active", SaverKeyWord, ActiveBeforeTest, sizeof ActiveBeforeTest - 1);
    RememberActiveBeforeTest(ActiveBeforeTest);
    SaveDisplay(TestDisplayName);
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    // Quoted: the program's path may hold blanks.
    std::string command = "\"" + std::string(program, length < sizeof program ? length : 0) + "\" /S";
    if (length == 0 || length >= sizeof program || StartProgram(command.c_str(), SW_SHOWNORMAL) < 32) MessageBeep(0);
}

void TestModuleSettings(int module) {
    if (module == ModuleRandom || module < 0 || module >= ModuleCount) {
        TestAllSettings();
        return;
    }
    DWORD saved[ModuleCount];
    std::memcpy(saved, ActiveModules, sizeof saved);
    for (DWORD& active : ActiveModules) active = 0;
    ActiveModules[module] = 1;
    TestAllSettings();
    std::memcpy(ActiveModules, saved, sizeof saved);
}

void EndTest() {
    if (!TestRunning) return;
    TestRunning = 0;
    EndTestDisplay(ActiveBeforeTest);
    if (MainSettingsPage) FillDisplayList(MainSettingsPage);
}
