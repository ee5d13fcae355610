#include "tools/spectrum-sim/signal.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double SweepSeconds = 8.0;  // one pass across the bands
constexpr double BeatsPerSecond = 2.0;

}  // namespace

void WriteLevels(SpectrumBlock& block, double seconds) {
    // The sweep moves up and back down, so every band gets its turn.
    const double position = std::fmod(seconds / SweepSeconds, 2.0);
    const double centre = (position < 1.0 ? position : 2.0 - position) * 15.0;
    for (std::size_t band = 0; band < 16; ++band) {
        const double distance = static_cast<double>(band) - centre;
        const double level = std::exp(-distance * distance / 4.0);
        block.set(spectrum::leftBands, band, static_cast<float>(level * SimulatedBandScale));
        block.set(spectrum::rightBands, band, static_cast<float>(level * 0.8 * SimulatedBandScale));
    }
    // A decaying beat; the right channel lags a little behind the left.
    const double sinceBeat = std::fmod(seconds * BeatsPerSecond, 1.0);
    const double sinceRightBeat = std::fmod(seconds * BeatsPerSecond + 0.9, 1.0);
    const double left = 0.1 + 0.9 * std::exp(-sinceBeat * 5.0);
    const double right = 0.1 + 0.9 * std::exp(-sinceRightBeat * 5.0);
    block.set(spectrum::leftLevel, static_cast<float>(left * (SimulatedLevelScale - 1)));
    block.set(spectrum::rightLevel, static_cast<float>(right * (SimulatedLevelScale - 1)));
}

void WriteTrack(SpectrumBlock& block, DWORD track) {
    char line[64];
    std::snprintf(line, sizeof line, "Track %02u", static_cast<unsigned>(track % 100));
    block.set(spectrum::cdText1, line);
    block.set(spectrum::cdText2, "Spectrum Simulator");
    std::snprintf(line, sizeof line, "Test signal %u", static_cast<unsigned>(track));
    block.set(spectrum::cdText3, line);
    block.set(spectrum::cdSerial, block.get(spectrum::cdSerial) + 1);
}
