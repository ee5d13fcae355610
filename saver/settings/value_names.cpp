#include "saver/settings/value_names.h"

#include "saver/palette/palette_settings.h"

namespace {

const char* const ChannelWords[ChannelCount] = {"Red", "Green", "Blue"};
const char* const FieldSuffixes[] = {"", "RangeLo", "RangeHi", "Sense", "Source"};

}  // namespace

std::string SlotValueName(const char* stem, int slot) { return stem + std::to_string(slot); }

std::string PaletteValueName(int parameter, int channel, PaletteField field) {
    const char* word = ChannelWords[channel];
    if (parameter == ParamCycleRate) {
        word = "";
    } else if (parameter == ParamSeconds && channel == ChannelGreen && field == FieldSense) {
        word = ChannelWords[ChannelRed];
    }
    return std::string(word) + PaletteParameters[parameter].stem + FieldSuffixes[field];
}

std::string ChannelEffectName(int channel) { return std::string(ChannelWords[channel]) + "Effect"; }

const char* ChannelWord(int channel) { return ChannelWords[channel]; }
