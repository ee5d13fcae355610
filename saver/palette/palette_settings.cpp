#include "saver/palette/palette_settings.h"

const PaletteParameterInfo PaletteParameters[PaletteParameterCount] = {
    // stem, caption, limitMin, limitMax, dynamicAllowed, source, value, rangeLo, rangeHi
    {"Scale", "Brightness", 0, 100, 1, 0, 100, 0, 100},
    {"Density", "Color Frequency", 1, 80, 1, 1, 6, 1, 12},
    {"FadeFactor", "Fade Frequency", 1, 300, 1, 0, 14, 1, 200},
    {"RampDecay", "Ramp Frequency", 1, 300, 1, 0, 14, 1, 200},
    {"Seconds", "Duration", 0, 300, 0, 0, 16, 10, 30},
    {"CycleRate", "Cycle Rate", 10, 200, 0, 0, 30, 10, 60},
    {"Event", "Event Rate", 0, 3000, 0, 0, 1000, 10, 600},
    {"Direction", "Direction", -50, 50, 1, 0, 1, -3, 3},
    {"MorphRate", "Morph Rate", 1, 64, 1, 1, 9, 6, 16},
    {"Intensity", "Intensity", 0, 200, 1, 0, 100, 0, 100},
};

const char* const ChannelEffectNames[7] = {"Ramp", "Fade", "Smooth", "Coarse", "Blackout", "Random", "Custom"};
