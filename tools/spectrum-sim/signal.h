#pragma once
// The synthetic sound the simulator publishes: a peak sweeping slowly across
// the sixteen bands, a beat on the volume, and a CD text that changes every
// few seconds.
#include "saver/sound/analyser_link.h"

// Full-scale values written once at start-up; levels stay within them, so
// without auto-gain every source reads 0..1.
constexpr float SimulatedLevelScale = 32768.0f;
constexpr DWORD SimulatedLevelCount = 32768;
constexpr float SimulatedBandScale = 1.0f;
constexpr LevelScales SimulatedScales{SimulatedLevelScale, SimulatedLevelCount, SimulatedBandScale};

// Writes the levels for `seconds` since the start.
void WriteLevels(SpectrumBlock& block, double seconds);

// The CD text of the given track, with a fresh serial number.
void WriteTrack(SpectrumBlock& block, DWORD track);
