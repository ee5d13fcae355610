#pragma once
// One run of the analyser: capture on one thread, the CD text on another,
// and on the calling thread the watch over the block: `running` while fresh
// levels arrive, the close request, the stop signals.
#include <optional>
#include <string>

#include "tools/lumora-spectrum/sound_format.h"

// Levels older than this no longer count as running.
constexpr int FreshnessMs = 250;

struct RunOptions {
    std::optional<std::string> input;  // a file or "-"; the sound server's output when absent
    SoundFormat raw;                   // the format of a raw input
    bool trackText = true;             // publish what the desktop's players play
    // Started by a saver's AutoRun: it ends when no saver window is open any
    // more.  The close request alone misses a saver that ends before the
    // analyser has joined the block (joining clears the request) and a saver
    // that was killed.
    bool endsWithSaver = false;
};

// Exit status: 0 after the end of the input, a close request, the last saver
// window (with `endsWithSaver`) or a stop signal; 1 when the block cannot be
// opened; 2 when the input cannot be read.
int RunAnalyser(const RunOptions& options);
