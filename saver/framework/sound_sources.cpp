#include "saver/framework/sound_sources.h"

#include "saver/framework/module_record.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_settings.h"
#include "saver/sound/spectrum_block.h"

DWORD ConfigProgramRunning = 0;

namespace {

bool SoundDelivered(SpectrumBlock* block, SpectrumU32 followFlag) {
    return block != nullptr && block->get(spectrum::running) != 0 && block->get(followFlag) != 0;
}

}  // namespace

void ResolveSoundSources() {
    SpectrumBlock* block = SharedSpectrum;
    bool modulesUse = false;
    bool paletteUses = false;

    const bool keepModules = ConfigProgramRunning || SoundDelivered(block, spectrum::modulesFollowSound);
    for (int m = 0; m < ModuleCount; ++m) {
        if (!ActiveModules[m]) {
            continue;
        }
        ModuleRecord& r = ModuleTable[m];
        for (int s = 0; s < SlotCount; ++s) {
            if (!r.defined[s] || r.source[s] < SourceVolume) {
                continue;
            }
            if (keepModules) {
                modulesUse = true;
            } else {
                r.source[s] = SourceOscillate;
            }
        }
    }

    if (PaletteSettings* palette = CurrentPalette) {
        const bool keepPalette = ConfigProgramRunning || SoundDelivered(block, spectrum::paletteFollowsSound);
        for (auto& channels : palette->source) {
            for (LONG& source : channels) {
                if (source < SourceVolume) {
                    continue;
                }
                if (keepPalette) {
                    paletteUses = true;
                    modulesUse = true;
                } else {
                    source = SourceOscillate;
                }
            }
        }
    }

    if (block != nullptr) {
        block->set(spectrum::paletteUsesSound, paletteUses ? 1 : 0);
        block->set(spectrum::modulesUseSound, modulesUse ? 1 : 0);
    }
}
