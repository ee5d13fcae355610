#include "saver/modules/random_display.h"

#include <cstdlib>

#include "saver/framework/controls.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/sound/spectrum_block.h"

RandomDisplayState RandomDisplay;

namespace {

void TakeStartSelection() {
    RandomSelection& selection = RandomDisplay.StartSelection;
    for (int m = 0; m < ModuleCount; ++m) selection.modules[m] = ActiveModules[m];
    selection.options = SaverOptions;
}

void StopActiveModules() {
    for (int m = 0; m < ModuleCount; ++m) {
        if (!ActiveModules[m]) continue;
        ModuleTable[m].free(&ModuleTable[m]);
        ActiveModules[m] = 0;
    }
}

int RandomModuleIndex() { return std::rand() % ModuleRandom; }

void ChooseFromStartSelection() {
    const DWORD* started = RandomDisplay.StartSelection.modules;
    LONG hits = 0;
    int draws = 0;
    while (hits < RandomDisplay.MaxAtOnce && draws < SelectionDraws) {
        const int m = RandomModuleIndex();
        ++draws;
        if (started[m]) {
            ActiveModules[m] = 1;
            ++hits;
        }
    }
    // A starting display with too few drawing modules still gets one.
    if (hits < RandomDisplay.MaxAtOnce) ActiveModules[RandomModuleIndex()] = 1;
}

bool DisplayFollowsSound() {
    const SpectrumBlock* block = SharedSpectrum;
    // Without a running analyser no display can follow sound, so any will do.
    if (block == nullptr || block->get(spectrum::running) == 0) return true;
    return block->get(spectrum::paletteUsesSound) != 0 || block->get(spectrum::modulesUseSound) != 0;
}

// Loading a display clears the running modules before it knows whether the
// display has any, so a draw that names no display, or one without modules,
// is passed over before loading: what the last successful load of this
// switch left behind must stand.  A display with the Random module would
// switch again without end.
bool CanTakeOver(const char* name) {
    if (DisplayHasModule(name, ModuleNames[ModuleRandom])) return false;
    for (int m = 0; m < ModuleCount; ++m) {
        if (m != ModuleRandom && DisplayHasModule(name, ModuleNames[m])) return true;
    }
    return false;
}

void LoadRandomSavedDisplay() {
    char name[SavedNameSize];
    for (int attempt = 0; attempt < SavedDisplayAttempts; ++attempt) {
        PickRandomSavedDisplay(name);
        if (!CanTakeOver(name) || !LoadDisplay(name)) continue;
        if (RandomDisplay.RandomMode != RandomSoundDisplay || DisplayFollowsSound()) return;
    }
}

void StartChosenModules() {
    for (int m = 0; m < ModuleCount; ++m) {
        // The Random module's own start would switch again without end.
        if (m == ModuleRandom || !ActiveModules[m]) continue;
        ModuleRecord* record = &ModuleTable[m];
        if (RandomDisplay.RandomizeAll) {
            for (LONG& source : record->source) source = SourceRandom;
            RandomizeControls(record);
        }
        ClampControls(record);
        record->init(record);
        record->start(record);
    }
}

void RestoreStartOptions() {
    const SaverOptionsRecord& started = RandomDisplay.StartSelection.options;
    SaverOptions.Priority = started.Priority;
    SaverOptions.ClearFirst = started.ClearFirst;
    SaverOptions.ShowInfo = started.ShowInfo;
    SaverOptions.ShowName = started.ShowName;
}

}  // namespace

void PickRandomSavedDisplay(char* name) {
    name[0] = '\0';
    HKEY saved = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SavedKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                        nullptr, &saved, nullptr) != ERROR_SUCCESS)
        return;
    for (;;) {
        const DWORD n = static_cast<DWORD>(std::rand()) % RandomDisplay.DisplayCountGuess;
        DWORD i = 0;
        for (; i < n; ++i) {
            DWORD length = SavedNameSize;
            const LONG error = RegEnumKeyExA(saved, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (error == ERROR_SUCCESS) continue;
            // A name too long for a display still holds its place in the
            // list: it must not hide the displays after it.
            name[0] = '\0';
            if (error != ERROR_MORE_DATA) break;
        }
        if (i == n) break;
        // Fewer displays than guessed: draw again among those that exist.
        RandomDisplay.DisplayCountGuess = i + 1;
    }
    RegCloseKey(saved);
}

LONG RandomStart(ModuleRecord* record) {
    RandomDisplayState& state = RandomDisplay;
    state.RandomMode = record->value[RandomModeSlot];
    state.MaxAtOnce = record->value[RandomMaxAtOnceSlot];
    state.DurationMs = static_cast<DWORD>(record->value[RandomDurationSlot]) * 1000u;
    state.RandomizeAll = record->value[RandomControlsSlot];
    state.ClearOnSwitch = record->value[RandomClearSlot];
    if (!state.SnapshotTaken) TakeStartSelection();

    StopActiveModules();
    if (state.RandomMode == RandomFromStartSelection) {
        ChooseFromStartSelection();
    } else {
        LoadRandomSavedDisplay();
    }
    if (state.ClearOnSwitch) PatBlt(record->dc, 0, 0, record->width, record->height, BLACKNESS);
    StartChosenModules();
    if (state.RandomMode != RandomFromStartSelection) {
        std::lock_guard lock(CurrentPaletteLock);
        DelayPatternChange(CurrentPalette);
    }

    RestoreStartOptions();
    ActiveModules[ModuleRandom] = 1;
    state.SnapshotTaken = 1;
    state.NextSwitch = GetTickCount() + state.DurationMs;
    return 0;
}

LONG RandomStep(ModuleRecord* record) {
    if (static_cast<LONG>(GetTickCount() - RandomDisplay.NextSwitch) > 0) RandomStart(record);
    return 0;
}
