#include "tools/lumora-spectrum/displays/sound_displays.h"

#include "saver/framework/module_table.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_settings.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"

namespace {

struct SoundControl {
    int slot;
    LONG source;
    LONG rangeLo;
    LONG rangeHi;
    LONG sense;  // 10 follows every beat, lower values smooth
};

struct SoundDisplay {
    int module;
    LONG effect;
    std::vector<SoundControl> controls;
};

// Star: the volume swells the stars, the bass drives them, the presence
// band (2 kHz) turns them one way or the other.  Sphere: the volume sets the
// size of the spheres, the low mids (400 Hz) their count around the centre.
const SoundDisplay Displays[] = {
    {ModuleStar,
     EffectRamp,
     {{1, SourceVolume, 4, 90, 7}, {2, SourceFirstBand + 0, 2, 40, 5}, {6, SourceFirstBand + 6, -60, 60, 4}}},
    {ModuleSphere, EffectRandom, {{0, SourceVolume, 40, 180, 6}, {1, SourceFirstBand + 1, 3, 24, 3}}},
};

std::vector<std::string> WriteDisplays(const std::string& folder) {
    BuildModuleTable();
    SaverOptions.AutoRun = 1;
    SaverOptions.ShowInfo = 1;
    std::vector<std::string> files;
    for (const SoundDisplay& display : Displays) {
        ModuleRecord& record = ModuleTable[display.module];
        for (const SoundControl& control : display.controls) {
            record.source[control.slot] = control.source;
            record.rangeLo[control.slot] = control.rangeLo;
            record.rangeHi[control.slot] = control.rangeHi;
            record.sense[control.slot] = control.sense;
        }
        const std::string name = std::string("[S] Sound ") + ModuleNames[display.module];
        CreateModuleDisplay(display.module, "[S] Sound", display.effect);
        const std::string file = folder + "/" + name + ".LUM";
        if (!WriteSettingsFile(DisplayKeyPath(name).c_str(), file.c_str())) return {};
        files.push_back(file);
    }
    return files;
}

}  // namespace

std::vector<std::string> WriteSoundDisplays(const std::string& folder) {
    // The sound options are saved from the block.  Auto-gain lets every
    // control use its whole range whatever the volume; without turbo each
    // band source hears its own band.
    alignas(8) unsigned char optionBytes[SpectrumBlockSize] = {};
    SpectrumBlock options(optionBytes, nullptr);
    options.set(spectrum::autoGain, 1);
    options.set(spectrum::turbo, 0);
    SpectrumBlock* const shared = SharedSpectrum;
    SharedSpectrum = &options;
    const std::vector<std::string> files = WriteDisplays(folder);
    SharedSpectrum = shared;
    return files;
}
