#include <cstring>

#include "platform/registry/transaction.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/sound_options.h"

void CaptureDisplay() {
    // Every control is stored as the value now in force, and the capture
    // shows what is on screen rather than switching displays itself.
    const DWORD randomActive = ActiveModules[ModuleRandom];
    ActiveModules[ModuleRandom] = 0;
    LONG sources[ModuleCount][SlotCount];
    for (int m = 0; m < ModuleCount; ++m) {
        std::memcpy(sources[m], ModuleTable[m].source, sizeof sources[m]);
        std::memset(ModuleTable[m].source, 0, sizeof ModuleTable[m].source);
    }

    {
        // Choosing the number and saving are one change, so two instances
        // capturing at once never share a number.
        platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
        int number = 1;
        while (KeyExists(DisplayKeyPath(CaptureName(number)).c_str())) ++number;
        SaveDisplay(CaptureName(number).c_str());
        transaction.commit();
    }

    SoundOptionsBlock().set(spectrum::captureRequest, 0);
    ActiveModules[ModuleRandom] = randomActive;
    KeepScreenColours = 0;
    for (int m = 0; m < ModuleCount; ++m) std::memcpy(ModuleTable[m].source, sources[m], sizeof sources[m]);
}

void ListDisplays(DisplayList* list, BOOL preferScratch) {
    if (list == nullptr) return;
    list->names.clear();
    settings::RegKey saved;
    if (saved.Create(HKEY_CURRENT_USER, SavedKeyPath()) == ERROR_SUCCESS) {
        for (DWORD index = 0; index < 1000; ++index) {
            char name[128];
            DWORD length = sizeof name;
            if (RegEnumKeyExA(saved.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            list->names.emplace_back(name, length);
        }
    }
    if (preferScratch) {
        list->selection = "Scratch";
        return;
    }
    char active[128];
    DWORD size = sizeof active;
    ReadSaverValue("Active", SaverKeyWord, nullptr, active, &size);
    active[sizeof active - 1] = '\0';
    list->selection = active;
}
