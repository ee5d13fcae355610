// Levels and bands of generated signals, analysed in this process.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "tools/lumora-spectrum/spectrum_analysis.h"

namespace {

// Feeds `seconds` of stereo float sound made by `sample(frame, channel)` and
// returns the last levels published.
template <typename Sample>
SpectrumLevels Analyse(SpectrumAnalysis& analysis, double seconds, Sample sample, int* publications = nullptr) {
    const auto frames = static_cast<std::size_t>(seconds * analysis.rate());
    std::vector<float> stereo(2 * frames);
    for (std::size_t f = 0; f < frames; ++f) {
        stereo[2 * f] = sample(f, 0);
        stereo[2 * f + 1] = sample(f, 1);
    }
    SpectrumLevels last;
    analysis.add(stereo.data(), frames, [&](const SpectrumLevels& levels) {
        last = levels;
        if (publications != nullptr) ++*publications;
    });
    return last;
}

auto Sine(double frequency, double amplitude, unsigned rate, bool left = true, bool right = true) {
    return [=](std::size_t f, int channel) {
        const bool on = channel == 0 ? left : right;
        return on ? static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * f / rate)) : 0.0f;
    };
}

TEST(SpectrumAnalysis, AToneReadsItsAmplitudeInItsOwnBandOnly) {
    // The lowest, a middle and the top band; a 0.5 sine reads 0.5, its RMS
    // 0.354.
    struct Case {
        double frequency;
        std::size_t band;
    };
    const unsigned rate = 44100;
    for (const Case c : {Case{1000, 4}, Case{10000, 13}, Case{100, 0}, Case{5000, 10}, Case{17000, 15}}) {
        SpectrumAnalysis analysis(rate);
        const SpectrumLevels levels = Analyse(analysis, 0.2, Sine(c.frequency, 0.5, rate, true, false));
        for (std::size_t b = 0; b < BandCount; ++b) {
            if (b == c.band) {
                EXPECT_NEAR(levels.leftBands[b], 0.5f, 0.03f) << c.frequency << " Hz";
            } else {
                EXPECT_LT(levels.leftBands[b], 0.05f) << c.frequency << " Hz leaks into band " << b;
            }
            EXPECT_EQ(levels.rightBands[b], 0.0f);
        }
        EXPECT_NEAR(levels.left, 0.5f / std::sqrt(2.0f), 0.01f);
        EXPECT_EQ(levels.right, 0.0f);
    }
}

TEST(SpectrumAnalysis, NoiseFillsEveryBandAndSilenceAfterItClearsThemWithinAWindow) {
    SpectrumAnalysis analysis(48000);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    int publications = 0;
    SpectrumLevels levels = Analyse(
        analysis, 0.5, [&](std::size_t, int) { return noise(random); }, &publications);
    EXPECT_EQ(publications, 50) << "one publication every 10 ms";
    EXPECT_NEAR(levels.left, 0.5f / std::sqrt(3.0f), 0.02f) << "RMS of uniform noise";
    for (std::size_t b = 0; b < BandCount; ++b) {
        EXPECT_GT(levels.leftBands[b], 0.01f) << b;
        EXPECT_GT(levels.rightBands[b], 0.01f) << b;
    }
    // The window is about 43 ms: 50 ms of silence leaves nothing of the noise.
    levels = Analyse(analysis, 0.05, [](std::size_t, int) { return 0.0f; });
    EXPECT_EQ(levels.left, 0.0f);
    for (std::size_t b = 0; b < BandCount; ++b) EXPECT_EQ(levels.leftBands[b], 0.0f) << b;
}

TEST(SpectrumAnalysis, SamplesThatAreNotNumbersCountAsSilence) {
    SpectrumAnalysis analysis(8000);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const SpectrumLevels levels = Analyse(analysis, 0.1, [&](std::size_t f, int) { return f % 2 ? nan : -inf; });
    EXPECT_EQ(levels.left, 0.0f);
    EXPECT_EQ(levels.right, 0.0f);
    // Bands beyond the 4 kHz that 8000 Hz can carry stay empty, but finite.
    for (std::size_t b = 0; b < BandCount; ++b) EXPECT_EQ(levels.leftBands[b], 0.0f);
}

}  // namespace
