#include "tools/lumora-spectrum/analyser_run.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "tools/lumora-spectrum/file_input.h"
#include "tools/lumora-spectrum/pulse_capture.h"
#include "tools/lumora-spectrum/spectrum_analysis.h"
#include "tools/lumora-spectrum/track_info.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto WatchInterval = std::chrono::milliseconds(20);

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// Turns captured sound into published levels, on the capture thread.
class LevelPublisher {
public:
    explicit LevelPublisher(SpectrumBlock& block) : block_(block) {}

    void add(unsigned rate, const float* frames, std::size_t count) {
        if (!analysis_ || analysis_->rate() != rate) {
            analysis_ = std::make_unique<SpectrumAnalysis>(rate);
        }
        analysis_->add(frames, count, [this](const SpectrumLevels& levels) {
            PublishLevels(block_, levels);
            lastLevelsMs_.store(NowMs());
        });
    }

    bool fresh() const { return NowMs() - lastLevelsMs_.load() < FreshnessMs; }

private:
    SpectrumBlock& block_;
    std::unique_ptr<SpectrumAnalysis> analysis_;
    std::atomic<long long> lastLevelsMs_{-FreshnessMs};
};

}  // namespace

int RunAnalyser(const RunOptions& options) {
    std::unique_ptr<FileInput> file;
    if (options.input) {
        std::string error;
        file = FileInput::Open(*options.input, options.raw, error);
        if (!file) {
            std::fprintf(stderr, "lumora-spectrum: %s\n", error.c_str());
            return 2;
        }
    }
    SpectrumBlock* block = JoinSpectrumBlock(AnalysisScales());
    if (block == nullptr) {
        std::fprintf(stderr, "lumora-spectrum: cannot open the shared block \"%s\" (another layout holds it?)\n",
                     SpectrumBlockName);
        return 1;
    }

    LevelPublisher publisher(*block);
    const FrameSink sink = [&publisher](unsigned rate, const float* frames, std::size_t count) {
        publisher.add(rate, frames, count);
    };
    std::atomic<bool> stopCapture{false};
    std::atomic<bool> inputEnded{false};
    std::thread capture([&] {
        if (file) {
            file->run(stopCapture, sink);
        } else {
            CaptureDefaultOutput(stopCapture, sink);
        }
        inputEnded.store(true);
    });
    std::unique_ptr<TrackWatcher> tracks = options.trackText ? std::make_unique<TrackWatcher>() : nullptr;

    const auto saverGone = [&] { return options.endsWithSaver && block->get(spectrum::saverCount) == 0; };
    while (!StopSignalled() && !CloseRequested(*block) && !saverGone() && !inputEnded.load()) {
        block->set(spectrum::running, publisher.fresh() ? 1 : 0);
        if (tracks) {
            PublishTrack(*block, tracks->current());
        }
        std::this_thread::sleep_for(WatchInterval);
    }

    stopCapture.store(true);
    capture.join();
    tracks.reset();
    LeaveSpectrumBlock(block);
    return 0;
}
