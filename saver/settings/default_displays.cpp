#include <memory>
#include <string>

#include "platform/registry/transaction.h"
#include "saver/framework/module_table.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"

namespace {

// The effect every first-run display gets, by module: Random, but Ramp for
// Star.
LONG FirstRunEffect(int module) { return module == ModuleStar ? EffectRamp : EffectRandom; }

// Brings the active saved display into the module table, creating the
// first-run displays and the fallback display when they are missing.
void LoadActiveDisplay() {
    CreateDefaultDisplays();
    // A fallback display that exists but holds no module fails to load; it
    // is the user's and stays as it is.
    if (!LoadDisplay(FallbackDisplayName) && !KeyExists(DisplayKeyPath(FallbackDisplayName).c_str()))
        CreateModuleDisplay(ModuleCount, FallbackDisplayName, EffectRandom);

    char active[128];
    DWORD size = sizeof active;
    ReadSaverValue("Active", SaverKeyWord, nullptr, active, &size);
    active[sizeof active - 1] = '\0';
    if (!LoadDisplay(active)) {
        LoadDisplay(FallbackDisplayName);
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, FallbackDisplayName, sizeof FallbackDisplayName);
    }
}

}  // namespace

void CreateModuleDisplay(int module, const char* name, LONG effect) {
    if (name == nullptr || module < 0) return;
    std::string display = name;
    if (module >= ModuleCount) {
        module = ModuleRandom;
        ActiveModules[ModuleRandom] = 1;
        SaverOptions.ShowInfo = 1;
    } else {
        display += std::string(" ") + ModuleNames[module];
    }

    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    SaveModuleSettings(&ModuleTable[module], display.c_str());
    auto palette = std::make_unique<PaletteSettings>();
    ResetPaletteDefaults(palette.get());
    for (LONG& channelEffect : palette->effect) channelEffect = effect;
    SavePaletteSettings(palette.get(), display.c_str());
    SaveOptions(display.c_str());
    transaction.commit();
}

void CreateDefaultDisplays() {
    // One transaction: a first run cut short must not leave a saved key that
    // stops the next run from creating the rest.
    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    if (KeyExists(SavedKeyPath().c_str())) return;
    for (int m = ModuleBezier; m <= ModuleVortex; ++m) CreateModuleDisplay(m, "[D]", FirstRunEffect(m));
    transaction.commit();
}

void InstallSettingsStore() { DisplayLoader = LoadActiveDisplay; }
