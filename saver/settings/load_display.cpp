#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "saver/framework/controls.h"
#include "saver/framework/sound_sources.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/little_endian.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/sound_options.h"
#include "saver/settings/value_names.h"

using settings::ReadDword;
using settings::ReadLong;
using settings::RegKey;

namespace {

void ReadSlotOr(HKEY key, const char* stem, int slot, LONG& field, LONG fallback) {
    if (!ReadLong(key, SlotValueName(stem, slot).c_str(), field)) field = fallback;
}

// The Path value is a 260-byte buffer; a longer value is no path of ours.
void ReadPath(HKEY key, char* path) {
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
        path[0] = '\0';
        return;
    }
    buffer[MAX_PATH - 1] = '\0';
    std::memcpy(path, buffer, MAX_PATH);
}

// Returns 1 when the display holds at least one module key.
BOOL LoadModules(const std::string& display, bool valid) {
    BOOL result = 0;
    for (int m = 0; m < ModuleCount; ++m) {
        RegKey key;
        if (!valid ||
            key.Open(HKEY_CURRENT_USER, ModuleKeyPath(display, ModuleNames[m]), KEY_READ) != ERROR_SUCCESS) {
            ActiveModules[m] = 0;
            continue;
        }
        ActiveModules[m] = 1;
        result = 1;
        ModuleRecord& r = ModuleTable[m];
        ReadPath(key.get(), r.path);
        for (int s = 0; s < SlotCount; ++s) {
            if (!r.defined[s]) continue;
            ReadSlotOr(key.get(), "Control", s, r.value[s], r.defaultValue[s]);
            ReadSlotOr(key.get(), "RangeLo", s, r.rangeLo[s], r.min[s]);
            ReadSlotOr(key.get(), "RangeHi", s, r.rangeHi[s], r.max[s]);
            ReadSlotOr(key.get(), "Check", s, r.source[s], 0);
            ReadSlotOr(key.get(), "Sense", s, r.sense[s], 10);
        }
    }
    for (ModuleRecord& record : ModuleTable) ClampControls(&record);
    return result;
}

void ReadCustomColours(HKEY key, PaletteSettings& p) {
    BYTE bytes[PaletteEntryCount * 3] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, "Custom", nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        p.customColours[i] = PALETTEENTRY{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2], 1};
    }
}

// Displays of older versions kept one source, scale and range per channel
// and a "Shifted" flag; they are turned into today's parameters.
void ConvertLegacyPalette(HKEY key, PaletteSettings& p) {
    LONG shifted = 0;
    if (!ReadLong(key, "Shifted", shifted)) return;
    LONG together = 0;
    ReadLong(key, "Together", together);
    for (int c = 0; c < ChannelCount; ++c) {
        if (shifted != 0) {
            LONG direction = std::rand() % 3 + 1;
            if (std::rand() & 1) direction = -direction;
            p.rangeLo[ParamDirection][c] = direction;
        }
        p.rangeLo[ParamDensity][c] = p.source[ParamDensity][c];
        p.rangeHi[ParamDensity][c] = p.rangeLo[ParamDensity][c] + 4;
        p.source[ParamDensity][c] = 1;

        const std::string word = ChannelWord(c);
        LONG legacySource = 0;
        ReadLong(key, (word + "Source").c_str(), legacySource);
        if (legacySource >= 2) {
            ReadLong(key, (word + "Source").c_str(), p.source[ParamScale][c]);
            ReadLong(key, (word + "Scale").c_str(), p.value[ParamScale][c]);
            ReadLong(key, (word + "ScaleLo").c_str(), p.rangeLo[ParamScale][c]);
            ReadLong(key, (word + "ScaleHi").c_str(), p.rangeHi[ParamScale][c]);
            ReadLong(key, (word + "Sense").c_str(), p.sense[ParamScale][c]);
        }
        p.rangeLo[ParamRampDecay][c] *= 3;
        if (together != 0) ReadLong(key, "AllEffect", p.effect[c]);
    }
}

void LoadPalette(const std::string& display, bool valid, PaletteSettings& p) {
    ResetPaletteDefaults(&p);
    RegKey key;
    if (!valid || key.Open(HKEY_CURRENT_USER, PaletteKeyPath(display), KEY_READ) != ERROR_SUCCESS) return;

    ReadLong(key.get(), "AllEffect", p.allEffect);
    p.effect[ChannelBlue] = p.effect[ChannelGreen] = p.effect[ChannelRed] = p.allEffect;
    ReadCustomColours(key.get(), p);
    for (int c = 0; c < ChannelCount; ++c) {
        for (int param = 0; param < PaletteParameterCount; ++param) {
            ReadLong(key.get(), PaletteValueName(param, c, FieldValue).c_str(), p.value[param][c]);
            ReadLong(key.get(), PaletteValueName(param, c, FieldRangeLo).c_str(), p.rangeLo[param][c]);
            ReadLong(key.get(), PaletteValueName(param, c, FieldRangeHi).c_str(), p.rangeHi[param][c]);
            ReadLong(key.get(), PaletteValueName(param, c, FieldSense).c_str(), p.sense[param][c]);
            ReadLong(key.get(), PaletteValueName(param, c, FieldSource).c_str(), p.source[param][c]);
        }
        ReadLong(key.get(), ChannelEffectName(c).c_str(), p.effect[c]);
    }
    ConvertLegacyPalette(key.get(), p);
}

void LoadOptions(const std::string& display, bool valid) {
    RegKey key;
    if (!valid || key.Open(HKEY_CURRENT_USER, DisplayKeyPath(display), KEY_READ) != ERROR_SUCCESS) return;
    SpectrumBlock& block = SoundOptionsBlock();
    block.set(spectrum::turbo, 1);
    block.set(spectrum::paletteFollowsSound, 1);
    block.set(spectrum::modulesFollowSound, 1);
    block.set(spectrum::autoGain, 1);
    SaverOptions.ShowInfo = SaverOptions.AutoRun = SaverOptions.ShowName = 0;

    DWORD number = 0;
    ReadDword(key.get(), "Priority", SaverOptions.Priority);
    ReadDword(key.get(), "ClearFirst", SaverOptions.ClearFirst);
    if (ReadDword(key.get(), "SlowCPU", number)) block.set(spectrum::turbo, number);
    ReadDword(key.get(), "ShowInfo", SaverOptions.ShowInfo);
    ReadDword(key.get(), "ShowName", SaverOptions.ShowName);
    ReadDword(key.get(), "AutoRun", SaverOptions.AutoRun);
    if (ReadDword(key.get(), "AutoGain", number)) block.set(spectrum::autoGain, number);
}

}  // namespace

BOOL LoadDisplay(const char* name) {
    const std::string display = name != nullptr ? name : "";
    std::snprintf(CurrentDisplayName, sizeof CurrentDisplayName, "%s", display.c_str());
    SoundOptionsBlock().set(spectrum::displayName, display.c_str());

    // A name that cannot be a display key loads like a missing display:
    // asked with it, the registry could answer for the saved key itself.
    const bool valid = ValidDisplayName(display);
    const BOOL result = LoadModules(display, valid);
    // The palette thread may be animating the record: it waits while the
    // record changes under it.
    std::lock_guard lock(CurrentPaletteLock);
    if (CurrentPalette != nullptr) LoadPalette(display, valid, *CurrentPalette);
    LoadOptions(display, valid);

    BYTE speed[4];
    DWORD size = sizeof speed;
    ReadSaverValue("Speed", SaverKeyWord, nullptr, speed, &size);
    Speed = LoadLittleEndian(speed);

    ResolveSoundSources();
    return result;
}
