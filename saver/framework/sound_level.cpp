#include "saver/framework/sound_level.h"

#include <atomic>
#include <cmath>

#include "saver/framework/sources.h"
#include "saver/sound/spectrum_block.h"

namespace {

// Running extremes of one kind of level.  They adapt for the life of the
// process; the drawing and palette threads both update them, each whole
// value at a time.
struct AutoGain {
    std::atomic<float> maximum{1e-11f};
    std::atomic<float> minimum{1e11f};

    float normalise(float level) {
        if (level > maximum.load(std::memory_order_relaxed)) {
            maximum.store(level, std::memory_order_relaxed);
        }
        if (level < minimum.load(std::memory_order_relaxed)) {
            minimum.store(level, std::memory_order_relaxed);
        }
        const float result =
            level / (maximum.load(std::memory_order_relaxed) - minimum.load(std::memory_order_relaxed));
        return result > 1.0f ? 1.0f : result;
    }
};

AutoGain ChannelGain;  // volume, left, right
AutoGain BandGain;

float Silence(float level) { return std::isfinite(level) && level > 0.0f ? level : 0.0f; }

}  // namespace

float SoundLevel(LONG source) {
    const SpectrumBlock* block = SharedSpectrum;
    if (block == nullptr || source < SourceVolume || source > SourceLastBand) {
        return 0.0f;
    }
    const float left = block->get(spectrum::leftLevel);
    const float right = block->get(spectrum::rightLevel);
    const std::size_t band = static_cast<std::size_t>(source - SourceFirstBand);
    const bool isBand = source >= SourceFirstBand;
    const float leftBand = isBand ? block->get(spectrum::leftBands, band) : 0.0f;
    const float rightBand = isBand ? block->get(spectrum::rightBands, band) : 0.0f;

    if (block->get(spectrum::autoGain)) {
        const float count = static_cast<float>(block->get(spectrum::levelCount));
        float level = 0.0f;
        switch (source) {
            case SourceVolume: level = (left + right) / (2.0f * count); break;
            case SourceLeft: level = left / count; break;
            case SourceRight: level = right / count; break;
            default: level = (leftBand + rightBand) * 0.5f; break;
        }
        AutoGain& gain = isBand ? BandGain : ChannelGain;
        return Silence(gain.normalise(Silence(level)));
    }

    const float scale = block->get(spectrum::levelScale);
    float level = 0.0f;
    switch (source) {
        case SourceVolume: level = (left + right) / (2.0f * scale); break;
        case SourceLeft: level = left / scale; break;
        case SourceRight: level = right / scale; break;
        default: level = (leftBand + rightBand) / (2.0f * block->get(spectrum::bandScale)); break;
    }
    return Silence(level);
}
