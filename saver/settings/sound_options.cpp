#include "saver/settings/sound_options.h"

namespace {

alignas(8) unsigned char DetachedBytes[SpectrumBlockSize];
SpectrumBlock DetachedBlock(DetachedBytes, nullptr);

}  // namespace

SpectrumBlock& SoundOptionsBlock() { return SharedSpectrum != nullptr ? *SharedSpectrum : DetachedBlock; }
