#pragma once
// The settings program: the configuration entry, the sheet's seventeen
// pages, and the state and services the pages share (the modified flag,
// test runs, the end of a test and help by topic).
#include <cstddef>

#include "platform/win32.h"

// Set while the settings on screen differ from every saved display; the
// sheet then treats them as the display "Scratch".
extern DWORD SettingsModified;
// Set by a test run until a page of the sheet is activated again, with the
// "Active" value the test replaced.
extern DWORD TestRunning;
extern char ActiveBeforeTest[MAX_PATH];
// Set while this process shows the sheet.
extern DWORD SheetOpen;
// The Main Settings page while it exists: a test's end refills its list.
extern HWND MainSettingsPage;

// The channel the Palette page shows (0 red, 1 green, 2 blue); it stays
// while the user visits other pages.
extern LONG PaletteChannel;

// How a test run starts the program; WinExec unless a test replaces it.
using ProgramStarter = UINT (*)(LPCSTR commandLine, UINT show);
extern ProgramStarter StartProgram;

// Help topics of the pages; any other code (a module index) opens the
// contents.
constexpr DWORD HelpSound = 512;
constexpr DWORD HelpMain = 513;
constexpr DWORD HelpPalette = 514;
constexpr DWORD HelpDisplay = 515;
constexpr DWORD HelpCustom = 516;

constexpr char HelpFileName[] = "LMSCTNX.HLP";

// Saves the settings on screen as the test display, which becomes Active,
// and starts the program with " /S"; beeps when it cannot start.  The page
// reads its controls into the shared state first.
void TestAllSettings();
// The same with only this module active (the Random module: all settings).
void TestModuleSettings(int module);
// At a page's activation: removes the test display and puts the replaced
// "Active" value back.
void EndTest();
// Opens the help at the topic's keyword, or at its contents.
void ShowHelp(HWND window, DWORD topic);

// Makes the help reachable: writes the guide the program carries into the
// Windows directory where a file of it is missing or differs.
void InstallHelp();

// The pages.
INT_PTR MainPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ModulePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR SoundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR PalettePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CustomPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the Main Settings page's display list from the saved displays,
// selecting "Scratch" while the settings are modified.
void FillDisplayList(HWND page);

// The note about the screen's colours on the Main Settings page.
void ColourDepthNote(DWORD colours, char* text, std::size_t size);
// The Sound page's status: whether the analyser (its packed version, major
// number high) is installed, compatible and running.
void SoundStatusText(DWORD analyserVersion, bool analyserRunning, char* text, std::size_t size);

// How the Display page names a mode: its colours (padded by depth), size and
// refresh rate.
struct DisplayMode;
void DescribeDisplayMode(const DisplayMode& mode, char* text, std::size_t size);

// The steps of the configuration entry around the sheet, apart so that
// tests can show the sheet without a modal loop.
constexpr int SettingsPageCount = 17;
constexpr UINT MainSettingsPageIndex = 15;
// Entry steps 2 to 8: common controls, the palette engine on the dialog's
// DC, the slogan, the sound link (FALSE when it cannot open: nothing else is
// done), the version record, the module table, and the program's resources.
BOOL OpenSettings(HWND dialog);
// The sheet: its caption (with the analyser's version when known) and its
// pages in order.  `caption` holds at least 64 characters.
void DescribeSettingsSheet(PROPSHEETHEADERA* header, PROPSHEETPAGEA* pages, char* caption);
// Entry step 11: the palette engine, the DC and the sound link go.
void CloseSettings();
