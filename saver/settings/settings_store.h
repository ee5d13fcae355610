#pragma once
// Saved displays: named, complete combinations of the active modules with
// their control slots, the palette settings and the display options, kept
// under HKEY_CURRENT_USER "Control Panel\Screen Saver.Lumora\Saved".  One of
// them, named by the saver key's string value "Active", is the current one.
//
// Saving, deleting, capturing and creating displays are each one registry
// transaction: a process killed or a disk filled in the middle leaves the
// display as it was before or as it is after, never half of it.
#include <string>
#include <vector>

#include "platform/win32.h"
#include "saver/framework/module_record.h"
#include "saver/palette/palette_settings.h"

// The options saved with a display (each one 32-bit word).
struct SaverOptionsRecord {
    DWORD Priority;    // priority class of a saver run: 64 idle, 32 normal, 128 high
    DWORD ClearFirst;  // 1: clear the screen before the run
    DWORD ShowInfo;    // 1: show the information overlay
    DWORD AutoRun;     // 1: start the spectrum analyser with the saver
    DWORD ShowName;    // seconds the display-name box stays up, 0..120, 0 never
};
extern SaverOptionsRecord SaverOptions;

// Animation delay in units of 10 ms per frame, 0..10; global, not saved with
// a display.
extern DWORD Speed;

// The name of the display loaded last, for the overlays.
extern char CurrentDisplayName[256];

// Set by F3: the next saved custom colours are the palette now on screen
// rather than the stored custom colours.  CaptureDisplay clears it.
extern DWORD KeepScreenColours;

// Loads the display into the running program: ActiveModules, the slot fields
// and path of every module, the palette settings of CurrentPalette, the
// options and Speed; then ResolveSoundSources.  1 when the display has at
// least one module key.
BOOL LoadDisplay(const char* name);

// Stores the running settings as the display (replacing it whole) and makes
// it "Active".  An empty name stores nothing.
void SaveDisplay(const char* name);

// Removes the display with everything below it.  Always 1.
BOOL DeleteDisplay(const char* name);

// The three parts of a save.
void SaveModuleSettings(const ModuleRecord* record, const char* display);
void SavePaletteSettings(const PaletteSettings* settings, const char* display);
void SaveOptions(const char* display);

// A display holding one module (index 0..11) named "<name> <module name>",
// with the module's current slots, default palette settings with `effect` on
// all three channels, and the current options.  An index of 12 or more
// stores the Random module under the name as given and makes Random active
// and ShowInfo 1 in the running settings.
void CreateModuleDisplay(int module, const char* name, LONG effect);

// The nine "[D]" displays, unless the saved key exists already.
void CreateDefaultDisplays();

// Saves the running display as "Capture #n" (the smallest free n) with every
// control fixed at its current value and without the Random module, makes it
// "Active", and clears the block's capture request and KeepScreenColours.
void CaptureDisplay();

// The names of the saved displays (creating the saved key when missing) and
// the one to select: "Scratch" when preferred, else the "Active" value.
struct DisplayList {
    std::vector<std::string> names;
    std::string selection;
};
void ListDisplays(DisplayList* list, BOOL preferScratch);

// Lets BuildModuleTable bring the active saved display into the module table
// (first-run displays, the fallback display, the "Active" one).  The saver,
// the settings program and tests call it once before building the table.
void InstallSettingsStore();
