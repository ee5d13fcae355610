#pragma once
// Paces a frame loop to a fixed rate on a grid of deadlines: frame k is due
// k * 1000 / fps milliseconds after the grid started, so rounding never
// accumulates into drift.  A loop that falls behind skips the frames it
// missed and rejoins the grid instead of bursting to catch up.  Time comes
// from GetTickCount and waiting from Sleep, so under the test clock pacing
// advances virtual time.
#include <cstdint>
#include <mutex>

#include "platform/types.h"

namespace gdi {

class FrameClock {
public:
    static constexpr int kDefaultFps = 60;
    static constexpr int kMaxFps = 1000;

    explicit FrameClock(int fps = kDefaultFps);

    // 0 leaves the loop unpaced; values are clamped to 0..kMaxFps.  The grid
    // restarts at the next wait().
    void setFps(int fps);
    int fps() const;

    // Blocks until the next frame is due.  The first wait after construction
    // or a rate change starts the grid at the current time.  Threads waiting
    // at once each take their own frame.
    void wait();

private:
    mutable std::mutex mutex_;
    int fps_;
    int gridFps_ = 0;               // rate the grid was laid out for; 0 = no grid yet
    DWORD lastTick_ = 0;            // GetTickCount at the last look
    std::uint64_t elapsed_ = 0;     // ms since the grid started, immune to the 32-bit wrap
    std::uint64_t nextFrame_ = 0;   // index of the frame the next wait() waits for
};

}  // namespace gdi
