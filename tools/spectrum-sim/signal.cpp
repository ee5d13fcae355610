#include "tools/spectrum-sim/signal.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double SweepSeconds = 8.0;  // one pass across the bands
constexpr double BeatsPerSecond = 2.0;

}  // namespace

void WriteLevels(SpectrumBlock& block, double seconds) {
    SpectrumLevels levels;
    // The sweep moves up and back down, so every band gets its turn.
    const double position = std::fmod(seconds / SweepSeconds, 2.0);
    const double centre = (position < 1.0 ? position : 2.0 - position) * 15.0;
    for (std::size_t band = 0; band < 16; ++band) {
        const double distance = static_cast<double>(band) - centre;
        const double level = std::exp(-distance * distance / 4.0);
        levels.leftBands[band] = static_cast<float>(level * SimulatedBandScale);
        levels.rightBands[band] = static_cast<float>(level * 0.8 * SimulatedBandScale);
    }
    // A decaying beat; the right channel lags a little behind the left.
    const double sinceBeat = std::fmod(seconds * BeatsPerSecond, 1.0);
    const double sinceRightBeat = std::fmod(seconds * BeatsPerSecond + 0.9, 1.0);
    const double left = 0.1 + 0.9 * std::exp(-sinceBeat * 5.0);
    const double right = 0.1 + 0.9 * std::exp(-sinceRightBeat * 5.0);
    levels.left = static_cast<float>(left * (SimulatedLevelScale - 1));
    levels.right = static_cast<float>(right * (SimulatedLevelScale - 1));
    PublishLevels(block, levels);
}

void WriteTrack(SpectrumBlock& block, DWORD track) {
    char title[64];
    std::snprintf(title, sizeof title, "Track %02u", static_cast<unsigned>(track % 100));
    char signal[64];
    std::snprintf(signal, sizeof signal, "Test signal %u", static_cast<unsigned>(track));
    PublishTrack(block, TrackText{title, "Spectrum Simulator", signal});
}
