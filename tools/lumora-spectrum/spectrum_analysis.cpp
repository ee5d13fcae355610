#include "tools/lumora-spectrum/spectrum_analysis.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// Below this the lowest band takes no bins: the offset and rumble of a
// recording are no sound.
constexpr double LowestFrequency = 20.0;
constexpr double WindowSeconds = 0.04;
constexpr unsigned HopsPerSecond = 100;

// FFTW's planner is not thread-safe, and the analysis may be made on any
// capture thread.
std::mutex PlannerLock;

std::size_t WindowSizeFor(unsigned rate) {
    std::size_t size = 256;
    while (static_cast<double>(size) < rate * WindowSeconds) {
        size *= 2;
    }
    return size;
}

float Finite(float sample) { return std::isfinite(sample) ? sample : 0.0f; }

}  // namespace

struct SpectrumAnalysis::Plan {
    float* input;
    fftwf_complex* output;
    fftwf_plan plan;
};

LevelScales AnalysisScales() { return LevelScales{static_cast<float>(1.0 / std::sqrt(2.0)), 1, 1.0f}; }

SpectrumAnalysis::SpectrumAnalysis(unsigned rate)
    : rate_(std::clamp(rate, LowestRate, HighestRate)),
      size_(WindowSizeFor(rate_)),
      hop_(rate_ / HopsPerSecond),
      window_(size_) {
    const double pi = std::acos(-1.0);
    for (std::size_t i = 0; i < size_; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i) / static_cast<double>(size_));
        window_[i] = static_cast<float>(w);
        windowPower_ += w * w;
    }
    // Bands meet halfway (on a log scale) between their centres.
    const double binsPerHz = static_cast<double>(size_) / rate_;
    const auto bin = [&](double frequency) {
        return std::min(static_cast<std::size_t>(std::ceil(frequency * binsPerHz)), size_ / 2);
    };
    bandBins_[0] = bin(LowestFrequency);
    for (std::size_t b = 1; b < BandCount; ++b) {
        bandBins_[b] = bin(std::sqrt(BandCentres[b - 1] * BandCentres[b]));
    }
    bandBins_[BandCount] = size_ / 2;
    for (auto& history : history_) {
        history.assign(size_, 0.0f);
    }
    std::lock_guard<std::mutex> lock(PlannerLock);
    plan_ = new Plan{fftwf_alloc_real(size_), fftwf_alloc_complex(size_ / 2 + 1), nullptr};
    plan_->plan = fftwf_plan_dft_r2c_1d(static_cast<int>(size_), plan_->input, plan_->output, FFTW_ESTIMATE);
}

SpectrumAnalysis::~SpectrumAnalysis() {
    std::lock_guard<std::mutex> lock(PlannerLock);
    fftwf_destroy_plan(plan_->plan);
    fftwf_free(plan_->output);
    fftwf_free(plan_->input);
    delete plan_;
}

void SpectrumAnalysis::add(const float* frames, std::size_t count,
                           const std::function<void(const SpectrumLevels&)>& publish) {
    for (std::size_t f = 0; f < count; ++f) {
        history_[0][written_] = Finite(frames[2 * f]);
        history_[1][written_] = Finite(frames[2 * f + 1]);
        written_ = (written_ + 1) & (size_ - 1);
        if (++sinceHop_ == hop_) {
            sinceHop_ = 0;
            publish(analyse());
        }
    }
}

SpectrumLevels SpectrumAnalysis::analyse() {
    SpectrumLevels levels;
    levels.left = channelLevel(history_[0], levels.leftBands);
    levels.right = channelLevel(history_[1], levels.rightBands);
    return levels;
}

float SpectrumAnalysis::channelLevel(const std::vector<float>& history, float* bands) {
    // Oldest sample first; the size is a power of two.
    float* input = plan_->input;
    const std::size_t mask = size_ - 1;
    double power = 0;
    for (std::size_t i = 0; i < size_; ++i) {
        input[i] = history[(written_ + i) & mask] * window_[i];
        power += static_cast<double>(input[i]) * input[i];
    }
    fftwf_execute(plan_->plan);
    // A sine of amplitude A puts N * A^2 * sum(w^2) / 4 into the positive
    // bins around its frequency (Parseval), so this reads A.
    const double toAmplitude = 4.0 / (static_cast<double>(size_) * windowPower_);
    const fftwf_complex* output = plan_->output;
    for (std::size_t b = 0; b < BandCount; ++b) {
        double sum = 0;
        for (std::size_t k = bandBins_[b]; k < bandBins_[b + 1]; ++k) {
            sum += static_cast<double>(output[k][0]) * output[k][0] + static_cast<double>(output[k][1]) * output[k][1];
        }
        bands[b] = static_cast<float>(std::sqrt(sum * toAmplitude));
    }
    return static_cast<float>(std::sqrt(power / windowPower_));
}
