#pragma once
// A saver run on one thread in virtual time: the frames and palette ticks a
// threaded run would make, in the order their moments fall, on the test
// clock.  `lumora --render` and the soak program drive runs this way.
#include <functional>

#include "platform/win32.h"
#include "saver/sound/spectrum_block.h"

// A block of the analyser's layout private to a virtual run: the run neither
// counts as a running saver nor follows a live analyser.
struct PrivateSpectrum {
    unsigned char bytes[SpectrumBlockSize] = {};
    SpectrumBlock block{bytes, nullptr};
    PrivateSpectrum() {
        block.set(spectrum::blockSize, SpectrumBlockSize);
        block.set(spectrum::layoutVersion, SpectrumLayoutVersion);
    }
};

// Switches to the test clock at `start` for the life of the object.
class VirtualTime {
public:
    explicit VirtualTime(DWORD start);
    ~VirtualTime();
    VirtualTime(const VirtualTime&) = delete;
    VirtualTime& operator=(const VirtualTime&) = delete;

    // Milliseconds since the start.
    DWORD elapsed() const;
    // Moves the clock on to `at` ms after the start (never back).
    void advanceTo(DWORD at) const;

private:
    DWORD start_;
};

struct VirtualRunHooks {
    // Before the clock moves on to the next event at `at` ms; false ends the run.
    std::function<bool(unsigned long long at)> beforeEvent;
    // After frame number `frame`; false ends the run.
    std::function<bool(unsigned long long frame)> afterFrame;
};

// Frames on the 1000 / fps grid (a frame that overran skips the slots it
// missed, as the paced frame loop does) and palette ticks CycleRate after
// the previous one, until `totalMs` or until Running is cleared.  The run
// must be prepared and its palette run begun.  False when a hook ended it.
bool AnimateInVirtualTime(const VirtualTime& time, unsigned long long totalMs, unsigned fps,
                          const VirtualRunHooks& hooks = {});
