#pragma once
// What the desktop says is playing (MPRIS players on the session bus), as the
// three CD text lines of the block.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "saver/sound/analyser_link.h"

struct PlayingTrack {
    std::string artist;  // several artists joined with ", "
    std::string title;
    std::string album;
};

// The block's text is drawn one byte a character, Latin-1: other characters
// become '?', control characters (a line break would add a line to the CD
// box) a blank, and broken UTF-8 '?'.
std::string BlockText(const std::string& utf8);

// The lines that are not empty, in the order artist, title, album, fill the
// CD box from the top (the saver draws no box when its first line is empty).
TrackText TrackLines(const PlayingTrack& track);

// Asks the session bus once a second which player plays what.  Without a
// session bus, or without a player that is playing, the track is empty.
class TrackWatcher {
public:
    TrackWatcher();
    ~TrackWatcher();
    TrackWatcher(const TrackWatcher&) = delete;
    TrackWatcher& operator=(const TrackWatcher&) = delete;

    TrackText current() const;

private:
    void watch();

    mutable std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    TrackText current_;
    std::thread thread_;
};
