#pragma once
// The setup wizard: when the program is started for configuration under a
// name holding "SETUP.EXE", it installs itself from the folder it was started
// from with a three-page wizard (Directory, Options, Configure).
#include "platform/win32.h"

// The wizard's pages, by the index each keeps in its user data.
constexpr int SetupPageDirectory = 0;
constexpr int SetupPageOptions = 1;
constexpr int SetupPageConfigure = 2;
constexpr int SetupPageCount = 3;

// The folder the running program lies in, with a trailing separator; every
// file setup copies comes from there.
extern char SourceDirectory[MAX_PATH];
// The folder chosen on the first page, shared by the pages.
extern char DestinationDirectory[MAX_PATH];

// How setup starts other programs (the launcher, the analyser's installer,
// the installed saver); WinExec unless a test replaces it.
using SetupStarter = UINT (*)(LPCSTR commandLine, UINT show);
extern SetupStarter SetupStartProgram;

// Whether the program's own path, upper-cased, holds "SETUP.EXE".
BOOL SetupRequested();
// Shows the wizard modally; 1 when it finished, 0 when cancelled or not
// shown (no display: nothing is installed).
INT_PTR RunSetupWizard();

// The wizard's steps apart, so tests can show it without a modal loop:
// the source and destination folders and the program's resources, then the
// sheet's caption (at least 64 characters) and its three pages.
void OpenSetup();
void DescribeSetupWizard(PROPSHEETHEADERA* header, PROPSHEETPAGEA* pages, char* caption);
INT_PTR SetupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The installed saver: the system directory's "LUMORA.SCR".  False when the
// path does not fit.
bool SaverPath(char* path, std::size_t size);

// Copies the source folder's file of that name into the folder, replacing
// it.  FALSE (nothing copied) when the folder is not an existing directory.
BOOL CopySetupFile(const char* name, const char* folder);
// Imports every "*.LUM" of the source folder as the display named by its
// base name and copies it into the folder; with a page, its progress bar
// runs from 5 to 95 meanwhile.
void ImportSettingsFiles(HWND page, const char* folder);
// The installation proper behind Next on the Options page.  FALSE when the
// saver could not be copied (the user has been told).
BOOL InstallProduct(HWND page);
