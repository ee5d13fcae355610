#pragma once
// The analyser's side of the link: joining the shared block as its analyser,
// publishing levels and CD text, leaving it, and recording the analyser in
// the registry so that the saver can find and start it.  The analyser and
// its simulator both use these.
#include <cstddef>
#include <string>

#include "saver/sound/spectrum_block.h"

constexpr std::size_t BandCount = 16;

// One moment's levels, in the units the scales below give them.
struct SpectrumLevels {
    float left = 0;
    float right = 0;
    float leftBands[BandCount] = {};
    float rightBands[BandCount] = {};
};

// How the saver turns published levels into 0..1: without auto-gain it
// divides the channel levels by levelScale and the bands by bandScale; with
// auto-gain it divides the channel levels by levelCount before normalising.
struct LevelScales {
    float levelScale;
    DWORD levelCount;
    float bandScale;
};

// The three CD text lines as the block holds them: cdText2 is shown first,
// then cdText1, then cdText3.
struct TrackText {
    std::string line1;
    std::string line2;
    std::string line3;
    bool operator==(const TrackText&) const = default;
};

// Opens (or creates) the block and records the analyser's version, its
// scales and a cleared close request; `running` stays as it is until levels
// arrive.  Null when the block cannot be opened or belongs to another layout.
SpectrumBlock* JoinSpectrumBlock(const LevelScales& scales);

void PublishLevels(SpectrumBlock& block, const SpectrumLevels& levels);

// Writes the three lines and gives them a new serial number, unless the
// block holds these lines already.
void PublishTrack(SpectrumBlock& block, const TrackText& text);

// The block's close request, set by a saver that started the analyser.
bool CloseRequested(const SpectrumBlock& block);

// Clears `running` and the close request, then closes the block; accepts null.
void LeaveSpectrumBlock(SpectrumBlock* block);

// The analyser's version record under HKEY_CURRENT_USER ("Current Version"
// 3.2 and "Build").
void WriteAnalyserVersion(WORD build);

// SIGINT, SIGTERM and SIGHUP end the analyser's loop instead of the process,
// so it can leave the block as it found it.
void CatchStopSignals();
bool StopSignalled();
