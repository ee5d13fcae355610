// lumora-showcase FOLDER [ROOT]: writes the displays that show the saver at
// its best (several modules at once, controls that follow the music, palettes
// of their own) as settings files into FOLDER.  It works in a registry of its
// own, so the user's saved displays are never touched; with ROOT, that
// platform root's registry, which keeps the displays for `lumora --render`.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/transaction.h"
#include "saver/framework/module_table.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_engine.h"
#include "saver/palette/palette_settings.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"

namespace {

struct Colour {
    int red, green, blue;
};

struct Showcase {
    const char* name;
    std::vector<int> modules;
    // Sound sources for the first sound-allowed controls of each module, in
    // turn; an empty list leaves every control as registered.
    std::vector<LONG> sounds;
    // The stops of a custom palette, spread evenly round its 236 entries
    // (the last blends back into the first); none: the effect below.
    std::vector<Colour> stops;
    LONG effect;
};

const Showcase Showcases[] = {
    {"[L] Aurora", {ModulePlasma, ModuleBezier, ModuleStar}, {},
     {{4, 10, 40}, {20, 160, 120}, {120, 240, 170}, {60, 90, 200}, {150, 40, 170}}, EffectCustom},
    {"[L] Embers", {ModulePolygon, ModuleBezier, ModuleStar}, {SourceFirstBand + 0, SourceVolume},
     {{90, 10, 0}, {210, 60, 0}, {250, 160, 20}, {255, 240, 170}, {190, 50, 30}}, EffectCustom},
    {"[L] Sound Kaleidoscope", {ModulePattern, ModuleSphere, ModuleEffect},
     {SourceVolume, SourceFirstBand + 2, SourceLeft, SourceRight}, {}, EffectSmooth},
    {"[L] Tide Pool", {ModuleCyclic, ModulePlasma}, {SourceFirstBand + 1},
     {{0, 20, 40}, {0, 110, 140}, {90, 220, 210}, {250, 250, 220}, {20, 60, 120}}, EffectCustom},
};

void Gradient(PaletteSettings* palette, const std::vector<Colour>& stops) {
    const int count = static_cast<int>(stops.size());
    for (int i = 0; i < PaletteEntryCount; ++i) {
        const double at = static_cast<double>(i) * count / PaletteEntryCount;
        const int from = static_cast<int>(at);
        const double t = at - from;
        const Colour& a = stops[static_cast<std::size_t>(from)];
        const Colour& b = stops[static_cast<std::size_t>((from + 1) % count)];
        auto mix = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
        palette->customColours[i] = PALETTEENTRY{mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue), 1};
    }
}

// The first sound-allowed controls of the module follow the sources, from
// their registered default (what silence shows) a quarter of their range up.
void FollowSound(ModuleRecord& record, const std::vector<LONG>& sounds) {
    std::size_t next = 0;
    for (int slot = 0; slot < SlotCount && next < sounds.size(); ++slot) {
        if (!record.defined[slot] || !record.soundAllowed[slot]) continue;
        const LONG span = record.max[slot] - record.min[slot];
        record.source[slot] = sounds[next++];
        record.rangeLo[slot] = record.defaultValue[slot];
        record.rangeHi[slot] = std::min(record.max[slot], record.defaultValue[slot] + span / 4);
        record.sense[slot] = 6;
    }
}

bool Write(const Showcase& showcase, const std::string& folder) {
    BuildModuleTable();
    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    for (int module : showcase.modules) {
        FollowSound(ModuleTable[module], showcase.sounds);
        SaveModuleSettings(&ModuleTable[module], showcase.name);
    }
    auto palette = std::make_unique<PaletteSettings>();
    ResetPaletteDefaults(palette.get());
    if (!showcase.stops.empty()) Gradient(palette.get(), showcase.stops);
    for (LONG& effect : palette->effect) effect = showcase.effect;
    SavePaletteSettings(palette.get(), showcase.name);
    SaverOptions.ShowInfo = showcase.sounds.empty() ? 0 : 1;
    SaverOptions.AutoRun = showcase.sounds.empty() ? 0 : 1;
    SaveOptions(showcase.name);
    transaction.commit();
    const std::string file = folder + "/" + showcase.name + ".LUM";
    if (!WriteSettingsFile(DisplayKeyPath(showcase.name).c_str(), file.c_str())) return false;
    std::printf("%s\n", file.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: lumora-showcase FOLDER [ROOT]\n");
        return 2;
    }
    const bool keep = argc == 3;
    std::string root = keep ? argv[2] : (std::filesystem::temp_directory_path() / "lumora-showcase-XXXXXX").string();
    if (!keep && mkdtemp(root.data()) == nullptr) {
        std::perror("lumora-showcase");
        return 1;
    }
    setenv("LUMORA_ROOT", root.c_str(), 1);
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    // Options are saved with the sound settings of a block: auto-gain on, so
    // quiet music still moves the controls over their whole range.
    alignas(8) unsigned char optionBytes[SpectrumBlockSize] = {};
    SpectrumBlock options(optionBytes, nullptr);
    options.set(spectrum::autoGain, 1);
    SharedSpectrum = &options;
    bool ok = true;
    for (const Showcase& showcase : Showcases) ok = Write(showcase, argv[1]) && ok;
    SharedSpectrum = nullptr;
    if (!keep) std::filesystem::remove_all(root, error);
    return ok ? 0 : 1;
}
