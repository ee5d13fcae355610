#include "saver/framework/sources.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "saver/framework/sine_table.h"
#include "saver/framework/sound_level.h"
#include "saver/sound/spectrum_block.h"

const char* const SourceNames[SourceCount] = {
    "Set",    "Random", "Oscillate", "Volume",  "Left", "Right", "150Hz",   "400Hz", "600Hz", "800Hz",   "1KHz",
    "1.5KHz", "2KHz",   "2.5KHz",    "3.25KHz", "4KHz", "5KHz",  "6.25KHz", "8KHz",  "10KHz", "12.5KHz", "18KHz",
};

namespace {

struct Range {
    LONG lo;
    std::int64_t span;  // hi - lo, which may not fit 32 bits for odd settings
    bool inverted;
};

Range MakeRange(LONG rangeLo, LONG rangeHi) {
    const bool inverted = rangeLo > rangeHi;
    const LONG lo = inverted ? rangeHi : rangeLo;
    const LONG hi = inverted ? rangeLo : rangeHi;
    return {lo, static_cast<std::int64_t>(hi) - lo, inverted};
}

// trunc(x) & 2047 for any x: the phase grows without bound and a stored one
// may be anything, so the index is wrapped without an integer overflow.
int WrapSineIndex(float x) {
    if (!std::isfinite(x)) {
        return 0;
    }
    double wrapped = std::fmod(std::trunc(static_cast<double>(x)), static_cast<double>(SineTableSize));
    if (wrapped < 0) {
        wrapped += SineTableSize;
    }
    return static_cast<int>(wrapped);
}

// A sense far outside 1..10 can carry the phase to infinity; it then starts
// again from 0 rather than stay stuck there.
float Oscillate(float& phase, LONG sense, const Range& range) {
    phase = phase + static_cast<float>(sense) * 0.0025f;
    if (!std::isfinite(phase)) {
        phase = 0.0f;
    }
    const int i = WrapSineIndex(phase * 2048.0f);
    float t = static_cast<float>(SineTable[i]) * 6.103888e-5f * 0.5f + 0.5f;
    if (range.inverted) {
        t = 1.0f - t;
    }
    return static_cast<float>(range.lo) + static_cast<float>(range.span) * t;
}

float FollowSound(LONG source, float& phase, LONG sense, LONG rangeLo, LONG rangeHi, const Range& range) {
    const SpectrumBlock* block = SharedSpectrum;
    if (block != nullptr && block->get(spectrum::turbo) && source > SourceVolume) {
        source = SourceVolume;
    }
    float x = SoundLevel(source);
    if (rangeLo >= rangeHi) {
        x = 1.0f - x;
    }
    const float s = static_cast<float>(sense);
    phase = (x * s + (10.0f - s) * phase) * 0.1f;
    if (!std::isfinite(phase)) {
        phase = 0.0f;
    }
    return static_cast<float>(range.lo) + static_cast<float>(range.span) * phase;
}

bool Live(LONG source, SpectrumU32 followFlag) {
    if (source == SourceOscillate) {
        return true;
    }
    if (source < SourceOscillate) {
        return false;
    }
    const SpectrumBlock* block = SharedSpectrum;
    return block != nullptr && block->get(spectrum::running) != 0 && block->get(followFlag) != 0;
}

}  // namespace

LONG TruncateToLong(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0f) {
        return INT32_MIN;
    }
    return static_cast<LONG>(value);
}

float EvaluateSource(LONG source, float& phase, LONG sense, LONG rangeLo, LONG rangeHi) {
    const Range range = MakeRange(rangeLo, rangeHi);
    float result = static_cast<float>(range.lo);
    if (source == SourceOscillate) {
        result = Oscillate(phase, sense, range);
    } else if (source > SourceOscillate) {
        result = FollowSound(source, phase, sense, rangeLo, rangeHi, range);
    }
    return std::isfinite(result) ? result : static_cast<float>(range.lo);
}

void RandomizeControls(ModuleRecord* record) {
    if (record == nullptr) {
        return;
    }
    for (int s = 0; s < SlotCount; ++s) {
        if (!record->defined[s] || record->source[s] == SourceSet) {
            continue;
        }
        const Range range = MakeRange(record->rangeLo[s], record->rangeHi[s]);
        record->value[s] = static_cast<LONG>(range.lo + std::rand() % (range.span + 1));
    }
}

void AdvanceControls(ModuleRecord* record) {
    if (record == nullptr) {
        return;
    }
    for (int s = 0; s < SlotCount; ++s) {
        if (record->source[s] >= SourceOscillate) {
            record->value[s] = TruncateToLong(EvaluateSource(record->source[s], record->phase[s], record->sense[s],
                                                             record->rangeLo[s], record->rangeHi[s]));
        }
    }
}

BOOL IsLiveSource(LONG source) { return Live(source, spectrum::modulesFollowSound) ? TRUE : FALSE; }

BOOL IsLivePaletteSource(LONG source) { return Live(source, spectrum::paletteFollowsSound) ? TRUE : FALSE; }

LONG ControlValue(const ModuleRecord* record, int slot, LONG value) {
    const LONG lo = record->min[slot];
    const LONG hi = record->max[slot];
    return lo <= hi ? std::clamp(value, lo, hi) : value;
}

LONG ControlValue(const ModuleRecord* record, int slot) { return ControlValue(record, slot, record->value[slot]); }

void ReadLiveControl(ModuleRecord* record, int slot, LONG& target) {
    if (!IsLiveSource(record->source[slot])) return;
    const float v = EvaluateSource(record->source[slot], record->phase[slot], record->sense[slot],
                                   record->rangeLo[slot], record->rangeHi[slot]);
    target = ControlValue(record, slot, TruncateToLong(v));
}

bool ReadLiveFraction(ModuleRecord* record, int slot, float& target) {
    if (!IsLiveSource(record->source[slot])) return false;
    const float v = EvaluateSource(record->source[slot], record->phase[slot], record->sense[slot],
                                   record->rangeLo[slot], record->rangeHi[slot]);
    const auto lo = static_cast<float>(record->min[slot]);
    const auto hi = static_cast<float>(record->max[slot]);
    target = lo <= hi ? std::clamp(v, lo, hi) : v;
    return true;
}
