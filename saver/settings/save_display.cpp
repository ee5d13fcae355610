#include <cstring>

#include "platform/registry/transaction.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/little_endian.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/sound_options.h"
#include "saver/settings/value_names.h"

using settings::DeleteKeyTree;
using settings::RegKey;
using settings::WriteLong;

namespace {

// The 236 colours as red, green, blue bytes: the palette now on screen when
// F3 asked for it, else the custom colours.
void BuildCustomValue(const PaletteSettings& p, BYTE* bytes) {
    const PALETTEENTRY* colours = p.customColours;
    if (KeepScreenColours && p.block != nullptr) colours = p.block->palPalEntry;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        bytes[3 * i] = colours[i].peRed;
        bytes[3 * i + 1] = colours[i].peGreen;
        bytes[3 * i + 2] = colours[i].peBlue;
    }
}

}  // namespace

void SaveModuleSettings(const ModuleRecord* record, const char* display) {
    if (record == nullptr || record->name == nullptr || display == nullptr || !ValidDisplayName(display)) return;
    const std::string path = ModuleKeyPath(display, record->name);
    DeleteKeyTree(HKEY_CURRENT_USER, path);
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) return;
    if (record->path[0] != '\0') {
        // The whole buffer, whatever follows the terminating zero.
        RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(record->path), MAX_PATH);
    }
    for (int s = 0; s < SlotCount; ++s) {
        if (!record->defined[s]) continue;
        WriteLong(key.get(), SlotValueName("Control", s).c_str(), record->value[s]);
        WriteLong(key.get(), SlotValueName("RangeLo", s).c_str(), record->rangeLo[s]);
        WriteLong(key.get(), SlotValueName("RangeHi", s).c_str(), record->rangeHi[s]);
        WriteLong(key.get(), SlotValueName("Check", s).c_str(), record->source[s]);
        WriteLong(key.get(), SlotValueName("Sense", s).c_str(), record->sense[s]);
    }
}

void SavePaletteSettings(const PaletteSettings* settings, const char* display) {
    if (settings == nullptr || display == nullptr || !ValidDisplayName(display)) return;
    const PaletteSettings& p = *settings;
    const std::string path = PaletteKeyPath(display);
    DeleteKeyTree(HKEY_CURRENT_USER, path);
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) return;

    bool custom = false;
    for (LONG effect : p.effect) custom = custom || effect == EffectCustom;
    if (custom) {
        BYTE bytes[PaletteEntryCount * 3];
        BuildCustomValue(p, bytes);
        RegSetValueExA(key.get(), "Custom", 0, REG_BINARY, bytes, sizeof bytes);
    } else {
        RegDeleteValueA(key.get(), "Custom");
    }
    for (int c = 0; c < ChannelCount; ++c) WriteLong(key.get(), ChannelEffectName(c).c_str(), p.effect[c]);
    WriteLong(key.get(), "AllEffect", p.allEffect);

    for (int param = 0; param < PaletteParameterCount; ++param) {
        for (int c = 0; c < ChannelCount; ++c) {
            WriteLong(key.get(), PaletteValueName(param, c, FieldValue).c_str(), p.value[param][c]);
            WriteLong(key.get(), PaletteValueName(param, c, FieldRangeLo).c_str(), p.rangeLo[param][c]);
            WriteLong(key.get(), PaletteValueName(param, c, FieldRangeHi).c_str(), p.rangeHi[param][c]);
            WriteLong(key.get(), PaletteValueName(param, c, FieldSense).c_str(), p.sense[param][c]);
            WriteLong(key.get(), PaletteValueName(param, c, FieldSource).c_str(), p.source[param][c]);
        }
    }
}

void SaveOptions(const char* display) {
    if (display == nullptr || !ValidDisplayName(display)) return;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, DisplayKeyPath(display)) != ERROR_SUCCESS) return;
    SpectrumBlock& block = SoundOptionsBlock();
    WriteLong(key.get(), "SlowCPU", static_cast<LONG>(block.get(spectrum::turbo)));
    WriteLong(key.get(), "Priority", static_cast<LONG>(SaverOptions.Priority));
    WriteLong(key.get(), "ClearFirst", static_cast<LONG>(SaverOptions.ClearFirst));
    WriteLong(key.get(), "ShowInfo", static_cast<LONG>(SaverOptions.ShowInfo));
    WriteLong(key.get(), "ShowName", static_cast<LONG>(SaverOptions.ShowName));
    WriteLong(key.get(), "AutoRun", static_cast<LONG>(SaverOptions.AutoRun));
    WriteLong(key.get(), "AutoGain", static_cast<LONG>(block.get(spectrum::autoGain)));
}

BOOL DeleteDisplay(const char* name) {
    if (name == nullptr || !ValidDisplayName(name)) return 1;
    // Everything below the display goes, whatever an imported file put
    // there, so nothing of the old display survives a save over it.
    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    DeleteKeyTree(HKEY_CURRENT_USER, DisplayKeyPath(name));
    transaction.commit();
    return 1;
}

void SaveDisplay(const char* name) {
    if (name == nullptr || !ValidDisplayName(name)) return;
    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    DeleteDisplay(name);
    for (int m = 0; m < ModuleCount; ++m) {
        if (ActiveModules[m]) SaveModuleSettings(&ModuleTable[m], name);
    }
    SavePaletteSettings(CurrentPalette, name);
    SaveOptions(name);

    BYTE speed[4];
    StoreLittleEndian(speed, Speed);
    WriteSaverValue("Speed", SaverKeyWord, REG_DWORD, speed, sizeof speed);
    WriteSaverValue("Active", SaverKeyWord, REG_SZ, name, static_cast<DWORD>(std::strlen(name) + 1));
    transaction.commit();
}
