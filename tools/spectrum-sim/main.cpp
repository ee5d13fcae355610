// spectrum-sim: stands in for the spectrum analyser.  It opens the shared
// block as the analyser does, marks it running and writes moving levels and
// CD text into it until its time is up or it is stopped (Ctrl-C, SIGTERM, or
// the close request of a saver that started it).  It records itself as
// analyser version 3.2 in the current user's registry.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "saver/sound/analyser_link.h"
#include "tools/spectrum-sim/signal.h"

namespace {

constexpr double TrackSeconds = 5.0;

struct Options {
    double seconds = -1;  // run forever
    double rate = 30;
};

bool ParseNumber(const char* text, double lowest, double highest, double& out) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= lowest && value <= highest)) {
        return false;
    }
    out = value;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 0.001, 1e9, options.seconds)) {
                std::fprintf(stderr, "spectrum-sim: --seconds needs a positive number of seconds\n");
                return false;
            }
        } else if (arg == "--rate" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 0.1, 1000, options.rate)) {
                std::fprintf(stderr, "spectrum-sim: --rate needs a rate of 0.1 to 1000 Hz\n");
                return false;
            }
        } else {
            std::fprintf(stderr, "usage: spectrum-sim [--seconds N] [--rate HZ]\n");
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    SpectrumBlock* block = JoinSpectrumBlock(SimulatedScales);
    if (block == nullptr) {
        std::fprintf(stderr, "spectrum-sim: cannot open the shared block \"%s\" (another layout holds it?)\n",
                     SpectrumBlockName);
        return 1;
    }
    WriteAnalyserVersion(0);
    CatchStopSignals();

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / options.rate));
    // Stop requests are noticed within this time even at a slow rate.
    constexpr auto longestNap = std::chrono::milliseconds(100);
    DWORD track = 0;
    WriteTrack(*block, ++track);
    WriteLevels(*block, 0.0);
    block->set(spectrum::running, 1);

    auto nextFrame = start + period;
    while (!StopSignalled() && !CloseRequested(*block)) {
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start).count();
        if (options.seconds > 0 && elapsed >= options.seconds) {
            break;
        }
        if (now >= nextFrame) {
            if (elapsed >= track * TrackSeconds) {
                WriteTrack(*block, ++track);
            }
            WriteLevels(*block, elapsed);
            nextFrame += period;
        }
        std::this_thread::sleep_until(std::min(nextFrame, now + longestNap));
    }

    LeaveSpectrumBlock(block);
    return 0;
}
