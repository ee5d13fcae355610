#pragma once
// Module 11, "Random": draws nothing itself.  At every image start it
// replaces the running modules, either by a random selection of the modules
// of the display the saver started with, or by a whole saved display picked
// at random (optionally only one that follows sound).
#include <cstddef>

#include "saver/framework/module_record.h"
#include "saver/settings/settings_store.h"

// Slots of the Random controls.
enum RandomSlot : int {
    RandomModeSlot = 0,
    RandomMaxAtOnceSlot = 1,
    RandomDurationSlot = 2,
    RandomControlsSlot = 3,
    RandomClearSlot = 4,
};

// Values of "Actv/Svd/Snd".
enum RandomModeCode : LONG {
    RandomFromStartSelection = 0,
    RandomSavedDisplay = 1,
    RandomSoundDisplay = 2,
};

constexpr std::size_t SavedNameSize = 128;
constexpr int SavedDisplayAttempts = 60;
constexpr int SelectionDraws = 202;
constexpr DWORD InitialDisplayCountGuess = 1000;

// The display the saver started with: its modules, and the options a switch
// keeps whatever a loaded display says.
struct RandomSelection {
    DWORD modules[ModuleCount];
    SaverOptionsRecord options;
};

struct RandomDisplayState {
    LONG RandomMode;
    LONG MaxAtOnce;
    DWORD DurationMs;
    LONG RandomizeAll;
    LONG ClearOnSwitch;
    DWORD NextSwitch;
    RandomSelection StartSelection;
    DWORD SnapshotTaken;      // StartSelection is taken once per process
    DWORD DisplayCountGuess = InitialDisplayCountGuess;  // saved displays + 1, as the last enumeration found
};

extern RandomDisplayState RandomDisplay;

// Writes the name of a saved display drawn at random into `name` (128
// bytes), or an empty name, which is drawn as often as each display.
void PickRandomSavedDisplay(char* name);

LONG RandomStart(ModuleRecord* record);
LONG RandomStep(ModuleRecord* record);
