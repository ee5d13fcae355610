#pragma once
// Registry value names of a saved display.  Internal to the settings store.
#include <string>

// "Control<n>", "RangeLo<n>", ... for slot n.
std::string SlotValueName(const char* stem, int slot);

// The five values kept per palette parameter and channel.
enum PaletteField : int { FieldValue, FieldRangeLo, FieldRangeHi, FieldSense, FieldSource };

// The channel word, the parameter's stem and the field's suffix
// ("GreenDensityRangeLo"), with two names shared between channels: CycleRate
// has no channel word, and the green Seconds sense is kept as
// "RedSecondsSense".  Saving writes the channels in turn under a shared name,
// so the last channel written is the one stored; loading gives every channel
// sharing the name the stored value.
std::string PaletteValueName(int parameter, int channel, PaletteField field);

// "RedEffect", "GreenEffect", "BlueEffect".
std::string ChannelEffectName(int channel);

// The channel word: "Red", "Green", "Blue".
const char* ChannelWord(int channel);
