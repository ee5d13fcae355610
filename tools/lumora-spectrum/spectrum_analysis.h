#pragma once
// Levels of a stereo signal as the block publishes them: the RMS of each
// channel and the amplitude in each of the sixteen bands, over a Hann window
// of about 40 ms that moves on every 10 ms.
//
// Units: full scale is a sample value of 1.0.  A full-scale sine reads 1.0
// as channel level / levelScale and 1.0 in its band / bandScale, so the
// saver's levels without auto-gain run from 0 (silence) to 1 (full scale);
// with auto-gain the saver divides by levelCount (1: the levels are already
// means) and then by the loudest level it has seen.
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "saver/sound/analyser_link.h"
#include "tools/lumora-spectrum/sound_format.h"

// The centre frequencies the block's bands are named after.
constexpr std::array<double, BandCount> BandCentres = {150,  400,  600,  800,  1000, 1500,  2000,  2500,
                                                       3250, 4000, 5000, 6250, 8000, 10000, 12500, 18000};

LevelScales AnalysisScales();

class SpectrumAnalysis {
public:
    // `rate` within LowestRate..HighestRate.
    explicit SpectrumAnalysis(unsigned rate);
    ~SpectrumAnalysis();
    SpectrumAnalysis(const SpectrumAnalysis&) = delete;
    SpectrumAnalysis& operator=(const SpectrumAnalysis&) = delete;

    unsigned rate() const { return rate_; }
    std::size_t windowSize() const { return size_; }
    std::size_t hopSize() const { return hop_; }

    // Adds interleaved stereo frames; after every hop the levels of the
    // newest window go to `publish`.  Samples that are not finite count as
    // silence.
    void add(const float* frames, std::size_t count, const std::function<void(const SpectrumLevels&)>& publish);

private:
    struct Plan;
    float channelLevel(const std::vector<float>& history, float* bands);
    SpectrumLevels analyse();

    unsigned rate_;
    std::size_t size_;
    std::size_t hop_;
    std::vector<float> window_;
    double windowPower_ = 0;  // sum of the squared window
    // First bin of each band and the bin after the last band.
    std::array<std::size_t, BandCount + 1> bandBins_{};
    std::vector<float> history_[2];  // ring of the newest `size_` samples per channel
    std::size_t written_ = 0;        // ring position of the next sample
    std::size_t sinceHop_ = 0;
    Plan* plan_;
};
